#include "ToolTestSupport.h"
#include "tools/Capitalization.h"

namespace tessel::test {
namespace {

using Method = Capitalization::Method;

Collection capitalize(int tag, int method, const TrackGatherer& gather,
                      RecordingProgress& progress) {
    Capitalization tool({tag, method});
    EXPECT_FALSE(tool.validate());
    return tool.collect(gather, progress);
}

class CapitalizationTest : public TesselTest {};

TEST_F(CapitalizationTest, CaseRulesOnMusicFiles) {
    struct Row {
        int method;
        QString title;
        QString expected;  // equal to title: no change proposed
    };
    const Row rows[] = {
        {Method::kTitleCase, "the sound of music", "The Sound of Music"},
        {Method::kWordCapitalisation, "the sound of music", "The Sound Of Music"},
        {Method::kProperCase, "the sound of music", "The sound of music"},
        {Method::kUpperCase, "the sound of music", "THE SOUND OF MUSIC"},
        {Method::kLowerCase, "The Sound of Music", "the sound of music"},
        {Method::kUpperCase, "straße", "STRASSE"},
        {Method::kTitleCase, "Live in London", "Live in London"},
        {Method::kTitleCase, "Shut Up", "Shut Up"},
        {Method::kTitleCase, "the end", "The End"},
        {Method::kProperCase, "a", "A"},
        {Method::kProperCase, "", ""},
        {Method::kLowerCase, "", ""},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title.toStdString() + " / method " + std::to_string(row.method));
        const MusicTrack track =
            fileTrack(temp, QString::number(++n) + ".mp3", {{"name", row.title}});
        RecordingProgress progress;
        const Collection result = capitalize(0, row.method, gathering({track}), progress);
        EXPECT_TRUE(result.gathered);
        EXPECT_EQ(progress.lines, QStringList{"1/1 - " + row.title});
        if (row.expected == row.title) {
            EXPECT_TRUE(result.records.isEmpty());
            continue;
        }
        ASSERT_EQ(result.records.size(), 1);
        const ChangeRecord& record = result.records.front();
        EXPECT_TRUE(record.enabled);
        EXPECT_EQ(record.tagToChange, QStringLiteral("name"));
        EXPECT_EQ(record.title, row.title);
        EXPECT_EQ(record.artist, QStringLiteral("Artist"));
        EXPECT_EQ(record.oldTag.toString(), row.title);
        EXPECT_EQ(record.newTag.toString(), row.expected);
        EXPECT_EQ(record.track.path(), track.path());
    }
}

TEST_F(CapitalizationTest, ChosenTagAndSkippedTracks) {
    const QList<MusicTrack> tracks{
        libraryTrack({{"name", "One"}, {"artist", "x"}, {"albumArtist", "the band"}}),
        libraryTrack({{"name", "Dead"}, {"albumArtist", "dead band"}}, std::nullopt),
        libraryTrack({{"name", "No value"}}),
        libraryTrack({{"name", "Two"}, {"albumArtist", "THE BAND"}}),
        libraryTrack({{"name", "Same"}, {"albumArtist", "The Band"}}),
    };
    RecordingProgress progress;
    const Collection result =
        capitalize(7, Method::kWordCapitalisation, gathering(tracks), progress);
    EXPECT_EQ(progress.lines, (QStringList{"1/5 - One", "2/5 - Dead", "3/5 - No value", "4/5 - Two",
                                           "5/5 - Same"}));
    ASSERT_EQ(result.records.size(), 2);
    EXPECT_EQ(result.records[0].title, QStringLiteral("One"));
    EXPECT_EQ(result.records[1].title, QStringLiteral("Two"));
    for (const ChangeRecord& record : result.records) {
        EXPECT_EQ(record.tagToChange, QStringLiteral("albumArtist"));
        EXPECT_EQ(record.newTag.toString(), QStringLiteral("The Band"));
    }
}

TEST_F(CapitalizationTest, ReadErrorKeepsWhatWasFoundAndFailedGatheringIsNotNoChanges) {
    auto vanishing = InMemoryTrack::make({{"name", "gone"}});
    vanishing->failingKey = QStringLiteral("name");
    const QList<MusicTrack> tracks{libraryTrack({{"name", "first"}}),
                                   MusicTrack::withTrack(vanishing),
                                   libraryTrack({{"name", "never read"}})};
    RecordingProgress progress;
    const Collection result = capitalize(0, Method::kUpperCase, gathering(tracks), progress);
    EXPECT_TRUE(result.gathered);
    ASSERT_EQ(result.records.size(), 1);
    EXPECT_EQ(result.records[0].newTag.toString(), QStringLiteral("FIRST"));
    EXPECT_EQ(progress.lines, QStringList{"1/3 - first"});
    ASSERT_TRUE(result.stoppedBy);
    EXPECT_EQ(result.stoppedBy->name(), errors::kScripting);

    const Collection none = capitalize(0, Method::kUpperCase, failedGathering(), progress);
    EXPECT_FALSE(none.gathered);
    EXPECT_TRUE(none.records.isEmpty());
}

TEST_F(CapitalizationTest, TagThatAFileCannotGiveStopsTheLoop) {
    const MusicTrack track = fileTrack(temp, "a.mp3", {{"name", "lower"}});
    RecordingProgress progress;
    const Collection result =
        capitalize(3, Method::kUpperCase, gathering({track, track}), progress);
    EXPECT_TRUE(result.gathered);
    EXPECT_TRUE(result.records.isEmpty());
    ASSERT_TRUE(result.stoppedBy);
    EXPECT_EQ(result.stoppedBy->name(), errors::kUnsupportedTag);
}

TEST_F(CapitalizationTest, TagOutsideTheTextTagsIsRefused) {
    for (int tag : {-1, 8, 19}) {
        const auto alert = Capitalization({tag, 0}).validate();
        ASSERT_TRUE(alert) << tag;
        EXPECT_EQ(alert->title, QStringLiteral("Invalid Tag"));
        EXPECT_FALSE(alert->message.isEmpty());
    }
    EXPECT_FALSE(Capitalization({7, 4}).validate());
}

}  // namespace
}  // namespace tessel::test
