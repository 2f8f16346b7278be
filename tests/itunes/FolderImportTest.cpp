// Adding folders of music files to the library.
#include "LibraryFixture.h"
#include "itunes/Connection.h"

#include <QDir>

namespace tessel {
namespace {

using test::LibraryTest;

class FolderImportTest : public LibraryTest {
  protected:
    FolderImportTest() {
        temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("in/Song.MP3"));
        temp.copyFixture(QStringLiteral("tagged.flac"), QStringLiteral("in/sub/Track.Flac"));
        temp.copyFixture(QStringLiteral("plain.mp3"), QStringLiteral("in/sub/Untitled.mp3"));
        temp.writeFile(QStringLiteral("in/cover.jpg"), "jpeg");
        temp.writeFile(QStringLiteral("in/notes.txt"), "text");
    }

    itunes::FolderImportSummary add(const char* folder,
                                    const std::optional<QString>& playlist = std::nullopt) {
        auto connection = itunes::Connection::open(libraryFile);
        return itunes::importFolder(*connection, temp.filePath(QString::fromLatin1(folder)),
                                    playlist);
    }
};

TEST_F(FolderImportTest, EveryMusicFileBecomesAFileTrackWithItsTags) {
    const auto summary = add("in", QStringLiteral("New"));
    EXPECT_EQ(summary.tracksAdded, 3);
    EXPECT_EQ(summary.entriesAdded, 3);
    const auto tracks = playlist(QStringLiteral("New"))->tracks();
    EXPECT_EQ(namesOf(tracks), (QStringList{"Song", "Song", "Untitled"}));
    EXPECT_EQ(tracks.at(0)->location(), temp.filePath(QStringLiteral("in/Song.MP3")));
    EXPECT_EQ(tracks.at(1)->location(), temp.filePath(QStringLiteral("in/sub/Track.Flac")));
    EXPECT_EQ(tracks.at(0)->className(), QStringLiteral("ITunesFileTrack"));

    const QList<std::pair<const char*, QVariant>> expected{
        {"artist", "Artist"}, {"album", "Album"}, {"genre", "Rock"},
        {"comment", "Note"},  {"year", 1999},     {"trackNumber", 3},
        {"trackCount", 0},    {"composer", ""},   {"bitRate", 11},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(tracks.at(0)->property(QString::fromLatin1(key)).toString(), value.toString())
            << key;
    EXPECT_NEAR(tracks.at(1)->property(QStringLiteral("duration")).toDouble(), 1.0, 0.01);
}

TEST_F(FolderImportTest, FilesAlreadyInTheLibraryAreNotAddedTwice) {
    add("in");
    const auto again = add("in", QStringLiteral("New"));
    EXPECT_EQ(again.tracksAdded, 0);
    EXPECT_EQ(again.tracksPresent, 3);
    EXPECT_EQ(again.entriesAdded, 3);
    temp.copyFixture(QStringLiteral("tagged.ogg"), QStringLiteral("in/sub/More.ogg"));
    const auto more = add("in/sub", QStringLiteral("New"));
    EXPECT_EQ(more.tracksAdded, 1);
    EXPECT_EQ(more.entriesAdded, 1);
    EXPECT_EQ(playlist(QStringLiteral("New"))->tracks().size(), 4);
}

TEST_F(FolderImportTest, ARelativeFolderIsReadFromTheCurrentFolder) {
    const QString previous = QDir::currentPath();
    QDir::setCurrent(temp.path());
    auto connection = itunes::Connection::open(libraryFile);
    const auto summary = itunes::importFolder(*connection, QStringLiteral("in/sub"));
    QDir::setCurrent(previous);
    EXPECT_EQ(summary.tracksAdded, 2);
    EXPECT_EQ(add("in").tracksPresent, 2);
}

TEST_F(FolderImportTest, UnusableTargetsFailAndChangeNothing) {
    importFixture();
    const int music = playlist(QStringLiteral("Music"))->tracks().size();
    for (const char* name : {"Top Rated", "Music"}) {
        EXPECT_THROW(add("in", QString::fromLatin1(name)), TesselError) << name;
        EXPECT_EQ(playlist(QStringLiteral("Music"))->tracks().size(), music);
    }
    EXPECT_THROW(add("missing"), TesselError);
    EXPECT_EQ(add("in").tracksAdded, 3);
}

}  // namespace
}  // namespace tessel
