#include "TestSupport.h"
#include "model/TrackGathering.h"

#include <QFile>

#include <algorithm>

#include <unistd.h>

namespace tessel {
namespace {

using TrackGatheringTest = test::TesselTest;

QStringList pathsOf(const QList<MusicTrack>& tracks) {
    QStringList paths;
    for (const MusicTrack& track : tracks)
        paths.append(track.path());
    paths.sort();
    return paths;
}

std::optional<QList<MusicTrack>> gatherFolder(const QString& path) {
    return folderTracks(QUrl::fromLocalFile(path));
}

TEST_F(TrackGatheringTest, KeepsMusicFilesAtEveryDepthWithFullPaths) {
    temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("Song.MP3"));
    temp.writeFile(QStringLiteral("cover.jpg"), "jpeg");
    temp.copyFixture(QStringLiteral("tagged.flac"), QStringLiteral("sub/Track.Flac"));

    const auto tracks = gatherFolder(temp.path());
    ASSERT_TRUE(tracks);
    EXPECT_EQ(pathsOf(*tracks),
              (QStringList{temp.filePath("Song.MP3"), temp.filePath("sub/Track.Flac")}));
    EXPECT_TRUE(std::none_of(tracks->begin(), tracks->end(),
                             [](const MusicTrack& t) { return t.isLibraryTrack(); }));
    EXPECT_TRUE(presenter().alerts.isEmpty());
}

TEST_F(TrackGatheringTest, AcceptsTheThirteenExtensionsOnly) {
    for (const QString& extension : audioExtensions())
        temp.writeFile(QStringLiteral("f.") + extension.toUpper());
    for (const char* other : {"f.txt", "f.m4p", "f.opus", "mp3", "f.mp3.bak", "f.jpg"})
        temp.writeFile(QString::fromLatin1(other));
    const auto tracks = gatherFolder(temp.path());
    ASSERT_TRUE(tracks);
    EXPECT_EQ(tracks->size(), 13);
}

TEST_F(TrackGatheringTest, NoFolderAndNoFilesAlert) {
    EXPECT_FALSE(folderTracks(std::nullopt));
    EXPECT_EQ(presenter().alertLines(),
              QStringList{"No Folder: You didn't select a folder with music files to operate on."});

    const QString noFiles = QStringLiteral(
        "No Files: The folder you have selected doesn't seem to contain music files.");
    presenter().alerts.clear();
    EXPECT_FALSE(gatherFolder(temp.path()));
    temp.writeFile(QStringLiteral("notes.txt"), "x");
    temp.writeFile(QStringLiteral("art/cover.jpg"), "x");
    EXPECT_FALSE(gatherFolder(temp.path()));
    EXPECT_FALSE(gatherFolder(temp.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(folderTracks(QUrl(QStringLiteral("https://example.org/music"))));
    EXPECT_EQ(presenter().alertLines(), QStringList(4, noFiles));
}

TEST_F(TrackGatheringTest, SurvivesLoopsAndOddNames) {
    temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("a/one.mp3"));
    ASSERT_TRUE(QFile::link(temp.path(), temp.filePath(QStringLiteral("a/loop"))));
    // A file name that is not valid UTF-8 has no text form; the scan passes over it.
    const QByteArray oddName = QFile::encodeName(temp.path()) + "/caf\xe9.mp3";
    FILE* raw = fopen(oddName.constData(), "wb");
    ASSERT_NE(raw, nullptr);
    fputs("not really audio", raw);
    fclose(raw);

    const auto tracks = gatherFolder(temp.path());
    unlink(oddName.constData());
    ASSERT_TRUE(tracks);
    ASSERT_EQ(tracks->size(), 1);
    EXPECT_EQ(tracks->first().title(), QStringLiteral("Song"));
}

}  // namespace
}  // namespace tessel
