// The re-linking search over a folder: exact artist, title and album, any of several artists,
// and what it refuses to match.
#include "TestSupport.h"
#include "tools/RelinkIndex.h"

#include <QFile>

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

namespace tessel {
namespace {

void tag(const QString& path, const QStringList& artists, const QString& title,
         const QString& album) {
    TagLib::FileRef file(QFile::encodeName(path).constData());
    TagLib::PropertyMap map = file.file()->properties();
    TagLib::StringList values;
    for (const QString& artist : artists)
        values.append(TagLib::String(artist.toStdString(), TagLib::String::UTF8));
    map.replace("ARTIST", values);
    map.replace("TITLE", TagLib::String(title.toStdString(), TagLib::String::UTF8));
    map.replace("ALBUM", TagLib::String(album.toStdString(), TagLib::String::UTF8));
    file.file()->setProperties(map);
    ASSERT_TRUE(file.save());
}

QStringList namesOf(const QList<RelinkCandidate>& found) {
    QStringList names;
    for (const RelinkCandidate& candidate : found)
        names.append(candidate.fileName);
    return names;
}

TEST(RelinkIndexTest, FindsFilesByExactArtistTitleAndAlbum) {
    test::TempFolder folder;
    tag(folder.copyFixture("tagged.flac", "a/duet.flac"), {"Ann", "Bob"}, "Duet", "Pairs");
    tag(folder.copyFixture("tagged.ogg", "b/solo.ogg"), {"Ann"}, "Solo", "");
    tag(folder.copyFixture("tagged.mp3", "b/c/loud.mp3"), {"ANN"}, "Solo", "");
    tag(folder.copyFixture("tagged.m4a", "untagged.m4a"), {}, "", "");
    folder.writeFile("notes.txt", "Ann Solo");
    QList<int> reported;
    const RelinkIndex index = RelinkIndex::build(
        folder.path(),
        [&](int done, int count, const QString&) { reported.append(done * 10 + count); });
    EXPECT_EQ(index.size(), 4);
    EXPECT_EQ(reported.last(), 44);

    struct Row {
        const char* name;
        QString artist, title, album;
        QStringList found;
    };
    const Row rows[] = {
        {"the first of two artists", "Ann", "Duet", "Pairs", {"duet.flac"}},
        {"the second of two artists", "Bob", "Duet", "Pairs", {"duet.flac"}},
        {"both artists as one text", "Ann Bob", "Duet", "Pairs", {}},
        {"an empty album matches an empty album", "Ann", "Solo", "", {"solo.ogg"}},
        {"artist case differs", "ANN", "Solo", "", {"loud.mp3"}},
        {"title case differs", "Ann", "solo", "", {}},
        {"album differs", "Ann", "Duet", "Pair", {}},
        {"an empty artist finds no untagged file", "", "", "", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(namesOf(index.find(row.artist, row.title, row.album)), row.found) << row.name;

    const RelinkCandidate duet = index.find("Bob", "Duet", "Pairs").first();
    EXPECT_EQ(duet.path, folder.filePath("a/duet.flac"));
    EXPECT_EQ(duet.artists, QStringList({"Ann", "Bob"}));
}

TEST(RelinkIndexTest, AFolderThatIsNotThereOrIsCancelledGivesWhatItHas) {
    EXPECT_EQ(RelinkIndex::build(QStringLiteral("/nonexistent/folder")).size(), 0);
    test::TempFolder folder;
    folder.copyFixture("tagged.mp3", "one.mp3");
    const std::atomic<bool> cancelled(true);
    EXPECT_EQ(RelinkIndex::build(folder.path(), {}, &cancelled).size(), 0);
}

}  // namespace
}  // namespace tessel
