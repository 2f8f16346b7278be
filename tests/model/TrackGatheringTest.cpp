#include "TestSupport.h"
#include "model/TrackGathering.h"
#include "tags/MusicFiles.h"

#include <QFile>

#include <algorithm>

#include <QDir>

#include <sys/stat.h>
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

QList<MusicTrack> gatherFolder(const QString& path) {
    return folderTracks(QUrl::fromLocalFile(path)).tracks;
}

// The name and reason of the error gathering throws; empty when it gives tracks.
QString failureOf(const std::function<void()>& gather) {
    try {
        gather();
    } catch (const TesselError& error) {
        return error.name() + QStringLiteral(": ") + error.reason();
    }
    return {};
}

TEST_F(TrackGatheringTest, KeepsMusicFilesAtEveryDepthWithFullPaths) {
    temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("Song.MP3"));
    temp.writeFile(QStringLiteral("cover.jpg"), "jpeg");
    temp.copyFixture(QStringLiteral("tagged.flac"), QStringLiteral("sub/Track.Flac"));

    const auto tracks = gatherFolder(temp.path());
    EXPECT_EQ(pathsOf(tracks),
              (QStringList{temp.filePath("Song.MP3"), temp.filePath("sub/Track.Flac")}));
    EXPECT_TRUE(std::none_of(tracks.begin(), tracks.end(),
                             [](const MusicTrack& t) { return t.isLibraryTrack(); }));
}

TEST_F(TrackGatheringTest, AcceptsTheThirteenExtensionsOnly) {
    for (const QString& extension : audioExtensions())
        temp.writeFile(QStringLiteral("f.") + extension.toUpper());
    for (const char* other : {"f.txt", "f.m4p", "f.opus", "mp3", "f.mp3.bak", "f.jpg"})
        temp.writeFile(QString::fromLatin1(other));
    EXPECT_EQ(gatherFolder(temp.path()).size(), 13);
}

TEST_F(TrackGatheringTest, NoFolderAndNoFilesAreErrorsWithTheirAlertTexts) {
    EXPECT_EQ(failureOf([] { folderTracks(std::nullopt); }),
              "No Folder: You didn't select a folder with music files to operate on.");

    const QString noFiles = QStringLiteral(
        "No Files: The folder you have selected doesn't seem to contain music files.");
    const auto folder = [this](const QString& path) { return [path] { gatherFolder(path); }; };
    EXPECT_EQ(failureOf(folder(temp.path())), noFiles);
    temp.writeFile(QStringLiteral("notes.txt"), "x");
    temp.writeFile(QStringLiteral("art/cover.jpg"), "x");
    EXPECT_EQ(failureOf(folder(temp.path())), noFiles);
    EXPECT_EQ(failureOf(folder(temp.filePath(QStringLiteral("missing")))), noFiles);
    EXPECT_EQ(failureOf([] { folderTracks(QUrl(QStringLiteral("https://example.org/music"))); }),
              noFiles);
}

TEST_F(TrackGatheringTest, SurvivesLoopsAndCountsOddNames) {
    temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("a/one.mp3"));
    ASSERT_TRUE(QFile::link(temp.path(), temp.filePath(QStringLiteral("a/loop"))));
    // A file name that is not valid UTF-8 has no text form; the scan passes over it and
    // says so.
    const QByteArray oddName = QFile::encodeName(temp.path()) + "/caf\xe9.mp3";
    FILE* raw = fopen(oddName.constData(), "wb");
    ASSERT_NE(raw, nullptr);
    fputs("not really audio", raw);
    fclose(raw);

    const GatheredTracks gathered = folderTracks(QUrl::fromLocalFile(temp.path()));
    unlink(oddName.constData());
    ASSERT_EQ(gathered.tracks.size(), 1);
    EXPECT_EQ(gathered.tracks.first().title(), QStringLiteral("Song"));
    EXPECT_EQ(passedOverLine(gathered.passedOver),
              QStringLiteral("Passed over: 1 file whose name is not valid UTF-8."));
}

TEST_F(TrackGatheringTest, OnlyRegularFilesAreMusicFiles) {
    // A pipe would block the first read for ever and a device never ends; a link counts
    // when it leads to a regular file.
    temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("real.mp3"));
    ASSERT_EQ(mkfifo(QFile::encodeName(temp.filePath("pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), temp.filePath("zero.mp3")));
    ASSERT_TRUE(QFile::link(temp.filePath("real.mp3"), temp.filePath("linked.mp3")));
    ASSERT_TRUE(QFile::link(temp.filePath("gone.mp3"), temp.filePath("dangling.mp3")));
    QDir().mkpath(temp.filePath("folder.mp3"));
    EXPECT_EQ(pathsOf(gatherFolder(temp.path())),
              (QStringList{temp.filePath("linked.mp3"), temp.filePath("real.mp3")}));
}

TEST_F(TrackGatheringTest, FoundHearsOfEachFileInTheListsOrderAndCanStopTheListing) {
    for (const char* name : {"b.mp3", "a/one.flac", "a/deep/two.ogg", "c/three.mp3", "d.txt"})
        temp.writeFile(QString::fromLatin1(name), "x");
    const QUrl folder = QUrl::fromLocalFile(temp.path());
    QStringList heard;
    const GatheredTracks all = folderTracks(folder, [&](const MusicTrack& track) {
        heard.append(track.path());
        return true;
    });
    QStringList listed;
    for (const MusicTrack& track : all.tracks)
        listed.append(track.path());
    EXPECT_EQ(heard, listed);
    EXPECT_EQ(pathsOf(all.tracks),
              (QStringList{temp.filePath("a/deep/two.ogg"), temp.filePath("a/one.flac"),
                           temp.filePath("b.mp3"), temp.filePath("c/three.mp3")}));

    heard.clear();
    const GatheredTracks stopped = folderTracks(folder, [&](const MusicTrack& track) {
        heard.append(track.path());
        return heard.size() < 2;
    });
    EXPECT_EQ(heard, listed.mid(0, 2));
    ASSERT_EQ(stopped.tracks.size(), 2);
    EXPECT_EQ(stopped.tracks.at(1).path(), listed.at(1));
}

TEST_F(TrackGatheringTest, AFolderWithoutMusicFilesTellsOfNoTrackBeforeNoFiles) {
    temp.writeFile(QStringLiteral("notes.txt"), "x");
    temp.writeFile(QStringLiteral("art/cover.jpg"), "x");
    int heard = 0;
    EXPECT_EQ(failureOf([&] {
                  folderTracks(QUrl::fromLocalFile(temp.path()), [&](const MusicTrack&) {
                      ++heard;
                      return true;
                  });
              }),
              QStringLiteral("No Files: The folder you have selected doesn't seem to contain "
                             "music files."));
    EXPECT_EQ(heard, 0);
}

TEST_F(TrackGatheringTest, ARelativeOrDottedFolderGivesCleanAbsolutePaths) {
    temp.writeFile(QStringLiteral("inner/deep/song.mp3"), "x");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(temp.path());
    const auto relative = musicFilesBelow(QStringLiteral("inner"));
    const auto dotted = musicFilesBelow(QStringLiteral("./inner/../inner/"));
    QDir::setCurrent(previous);
    const QStringList expected{temp.filePath(QStringLiteral("inner/deep/song.mp3"))};
    ASSERT_TRUE(relative && dotted);
    EXPECT_EQ(relative->paths, expected);
    EXPECT_EQ(dotted->paths, expected);
}

TEST_F(TrackGatheringTest, AnUnreadableSubfolderIsPassedOverAndTheListingGoesOn) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every folder";
    temp.writeFile(QStringLiteral("a/one.mp3"), "x");
    temp.writeFile(QStringLiteral("locked/two.mp3"), "x");
    temp.writeFile(QStringLiteral("z/three.mp3"), "x");
    const QByteArray locked = QFile::encodeName(temp.filePath(QStringLiteral("locked")));
    ASSERT_EQ(::chmod(locked.constData(), 0), 0);
    const QStringList paths = pathsOf(gatherFolder(temp.path()));
    ::chmod(locked.constData(), 0700);
    EXPECT_EQ(paths, (QStringList{temp.filePath("a/one.mp3"), temp.filePath("z/three.mp3")}));
}

}  // namespace
}  // namespace tessel
