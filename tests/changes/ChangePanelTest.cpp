#include "TestSupport.h"
#include "changes/ChangePanel.h"

namespace tessel {
namespace {

ChangeRecord changeOf(const QString& tag) {
    return tagChange(MusicTrack::withPath(QStringLiteral("/music/a.mp3")), QStringLiteral("Song"),
                     QStringLiteral("Artist"), tag, QStringLiteral("old"), QStringLiteral("new"));
}

ChangeList tagList(const QStringList& tags) {
    ChangeList list;
    for (const QString& tag : tags)
        list.records.append(changeOf(tag));
    return list;
}

ChangeList membershipList(int count, int remove) {
    ChangeList list = tagList(QStringList(count, QString()));
    list.playlist = true;
    list.remove = remove;
    return list;
}

struct InfoLineRow {
    const char* name;
    ChangeList list;
    QString expected;
};

TEST(ChangePanelTest, InfoLines) {
    QStringList eleventhDiffers(10, QStringLiteral("artist"));
    eleventhDiffers << QStringLiteral("album") << QStringList(14, QStringLiteral("name"));
    const InfoLineRow rows[] = {
        {"25 records, the first ten one tag", tagList(eleventhDiffers),
         "Checked tracks of these 25 tracks will get their tag 'artist' changed:"},
        {"several tags in first-met order", tagList({"name", "artist", "name", "comment"}),
         "Checked tracks of these 4 tracks will get their tags 'name', 'artist', 'comment' "
         "changed:"},
        {"one record", tagList({"albumArtist"}),
         "Checked tracks of these 1 tracks will get their tag 'albumArtist' changed:"},
        {"removal names the source playlist", membershipList(3, 1),
         "Checked tracks of these 3 tracks will removed from the playlist 'Rock':"},
        {"any non-zero remove is a removal", membershipList(2, 4),
         "Checked tracks of these 2 tracks will removed from the playlist 'Rock':"},
        {"addition names the target playlist", membershipList(7, 0),
         "Checked tracks of these 7 tracks will added to the playlist 'Best of':"},
    };
    for (const InfoLineRow& row : rows) {
        EXPECT_EQ(changeInfoLine(row.list, QStringLiteral("Rock"), QStringLiteral("Best of")),
                  row.expected)
            << row.name;
    }
}

TEST(ChangePanelTest, CheckSelectedActsOnTheSelectedRowsOnly) {
    ChangeList list = tagList(QStringList(5, QStringLiteral("name")));
    checkSelected(list, {0, 2, 4, 7, -1}, 0);
    EXPECT_EQ(enabledCount(list), 2);
    EXPECT_TRUE(list.records.at(1).enabled);
    EXPECT_FALSE(list.records.at(2).enabled);

    checkSelected(list, {2}, 1);
    EXPECT_TRUE(list.records.at(2).enabled);
    EXPECT_FALSE(list.records.at(4).enabled);
    EXPECT_EQ(enabledCount(list), 3);
}

TEST(ChangePanelTest, TheHalvesOfASwapAreCheckedTogether) {
    ChangeList list = tagList(QStringList(5, QStringLiteral("name")));
    list.records[1].partner = 2;
    list.records[2].partner = 1;
    EXPECT_EQ(checkSelected(list, {2, 4}, 0), (QList<int>{1, 2, 4}));
    EXPECT_EQ(enabledCount(list), 2);
    EXPECT_FALSE(list.records.at(1).enabled);
    EXPECT_EQ(checkSelected(list, {1}, 1), (QList<int>{1, 2}));
    EXPECT_TRUE(list.records.at(2).enabled);
}

TEST(ChangePanelTest, PassedOverTracksAreCountedByWhy) {
    QList<PassedOver> passed;
    EXPECT_TRUE(passedOverLine(passed).isEmpty());
    passOver(passed, "track whose file is missing", "tracks whose files are missing");
    EXPECT_EQ(passedOverLine(passed), "Passed over: 1 track whose file is missing.");
    passOver(passed, "track whose file is missing", "tracks whose files are missing");
    passOver(passed, {{"file named oddly", "files named oddly", 3}});
    EXPECT_EQ(passedOverLine(passed),
              "Passed over: 2 tracks whose files are missing; 3 files named oddly.");
}

}  // namespace
}  // namespace tessel
