// tessel-cli over what real libraries hold: an MP3 with only an ID3v1 tag, a playlist that
// lists a track twice, two playlists of one name, a swap of a number tag with a text, a pipe
// and a device among the music files. Every write is read back with TagLib.
#include "CliTestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QUrl>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include <sys/stat.h>

namespace tessel {
namespace {

QString titleOf(const QString& path) {
    const TagLib::FileRef file(QFile::encodeName(path).constData());
    return file.isNull() ? QString() : QString::fromStdWString(file.tag()->title().toWString());
}

// A library export of two real files: track 1 and 2. "Twice" lists track 1 twice then track
// 2; the two playlists named "Same" hold track 1 and track 2.
QString exportOf(const QString& first, const QString& second) {
    const auto track = [](int id, const QString& path) {
        return QStringLiteral(
                   "<key>%1</key><dict><key>Track ID</key><integer>%1</integer>"
                   "<key>Name</key><string>Song</string><key>Artist</key><string>Artist</string>"
                   "<key>Persistent ID</key><string>00000000000000A%1</string>"
                   "<key>Track Type</key><string>File</string>"
                   "<key>Location</key><string>%2</string></dict>")
            .arg(id)
            .arg(QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded()));
    };
    const auto playlist = [](const QString& name, const QString& id, QList<int> tracks) {
        QString items;
        for (int track : tracks)
            items +=
                QStringLiteral("<dict><key>Track ID</key><integer>%1</integer></dict>").arg(track);
        return QStringLiteral(
                   "<dict><key>Name</key><string>%1</string>"
                   "<key>Playlist Persistent ID</key><string>%2</string>"
                   "<key>Playlist Items</key><array>%3</array></dict>")
            .arg(name, id, items);
    };
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
               "<key>Tracks</key><dict>%1%2</dict><key>Playlists</key><array>%3%4%5"
               "</array></dict></plist>")
        .arg(track(1, first), track(2, second), playlist("Twice", "00000000000000B1", {1, 1, 2}),
             playlist("Same", "00000000000000B2", {1}), playlist("Same", "00000000000000B3", {2}));
}

class MessyInputCommandTest : public test::CliTest {
  protected:
    // Imports the export of two fixture copies; returns their paths.
    QStringList importTwo() {
        const QStringList files{temp.copyFixture("tagged.mp3", "lib/one.mp3"),
                                temp.copyFixture("tagged.flac", "lib/two.flac")};
        temp.writeFile("Library.xml", exportOf(files.at(0), files.at(1)).toUtf8());
        EXPECT_EQ(run({"library", "import-xml", temp.filePath("Library.xml")}).exitCode, 0);
        return files;
    }
};

TEST_F(MessyInputCommandTest, AnId3v1OnlyMp3TakesALongNonLatinTitleWhole) {
    const QString path = temp.copyFixture("tagged-v1-only.mp3", "music/old.mp3");
    const QString title = QStringLiteral("Ein sehr langer Titel über dreißig Bytes — 日本語");
    const test::CliRun applied = run({"search-replace", "--folder", folder(), "--search", "Song",
                                      "--replace", title, "--apply"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith("1 change applied.\n")) << applied.out.toStdString();
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    ASSERT_TRUE(file.hasID3v2Tag());
    EXPECT_TRUE(file.hasID3v1Tag());
    EXPECT_EQ(QString::fromStdWString(file.ID3v2Tag()->title().toWString()), title);
}

TEST_F(MessyInputCommandTest, APlaylistThatListsATrackTwiceIsWrittenToTheEnd) {
    const QStringList files = importTwo();
    const test::CliRun applied = run({"search-replace", "--playlist", "Twice", "--search", "Song",
                                      "--replace", "Tune", "--apply"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith("3 changes applied.\n")) << applied.out.toStdString();
    EXPECT_EQ(titleOf(files.at(0)), QStringLiteral("Tune"));
    EXPECT_EQ(titleOf(files.at(1)), QStringLiteral("Tune"));
}

TEST_F(MessyInputCommandTest, APlaylistIsChosenByItsPersistentIdNotItsName) {
    const QStringList files = importTwo();
    const test::CliRun ambiguous =
        run({"search-replace", "--playlist", "Same", "--search", "Song", "--replace", "Tune"});
    EXPECT_EQ(ambiguous.exitCode, 2);
    EXPECT_TRUE(ambiguous.err.contains("00000000000000B2  Same\n  00000000000000B3  Same"))
        << ambiguous.err.toStdString();

    const test::CliRun second = run({"search-replace", "--playlist", "00000000000000b3", "--search",
                                     "Song", "--replace", "Tune", "--apply"});
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(titleOf(files.at(0)), QStringLiteral("Song"));
    EXPECT_EQ(titleOf(files.at(1)), QStringLiteral("Tune"));
}

TEST_F(MessyInputCommandTest, ASwapNeverDestroysAValue) {
    // tagged.mp3: year 1999, comment "Note", which is no year.
    const QString note = temp.copyFixture("tagged.mp3", "music/note.mp3");
    const QString number = temp.copyFixture("tagged.flac", "music/number.flac");
    {
        TagLib::FileRef file(QFile::encodeName(number).constData());
        file.tag()->setComment("2001");
        ASSERT_TRUE(file.save());
    }
    const QStringList swap{"move", "--folder", folder(), "--from", "year", "--to", "comment"};
    const test::CliRun preview = run(swap + QStringList{"--json"});
    EXPECT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QJsonObject changes = preview.json()["changes"].toObject();
    EXPECT_EQ(changes["note"].toString(),
              "Passed over: 1 track whose Comment is no whole number to swap with its Year.");
    const QJsonArray records = changes["records"].toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records.at(0)["newTag"].toInt(), 2001);  // the number the year will hold
    EXPECT_EQ(records.at(1)["newTag"].toString(), "1999");

    // One half unchecked takes the other with it: nothing is written.
    const test::CliRun half = run(swap + QStringList{"--uncheck", "1", "--apply"});
    EXPECT_EQ(half.exitCode, 0) << half.err.toStdString();
    EXPECT_TRUE(half.out.endsWith("0 changes applied.\n")) << half.out.toStdString();

    EXPECT_EQ(run(swap + QStringList{"--apply"}).exitCode, 0);
    const TagLib::FileRef swapped(QFile::encodeName(number).constData());
    EXPECT_EQ(swapped.tag()->year(), 2001u);
    EXPECT_EQ(swapped.tag()->comment(), TagLib::String("1999"));
    const TagLib::FileRef kept(QFile::encodeName(note).constData());
    EXPECT_EQ(kept.tag()->year(), 1999u);
    EXPECT_EQ(kept.tag()->comment(), TagLib::String("Note"));
}

TEST_F(MessyInputCommandTest, APipeAndADeviceAmongTheFilesNeitherHangNorSpin) {
    const QString song = temp.copyFixture("tagged.mp3", "music/song.mp3");
    ASSERT_EQ(mkfifo(QFile::encodeName(temp.filePath("music/pipe.mp3")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", temp.filePath("music/zero.mp3")));
    QElapsedTimer timer;
    timer.start();
    const test::CliRun applied = run({"search-replace", "--folder", folder(), "--search", "Song",
                                      "--replace", "Tune", "--apply"});
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith("1 change applied.\n")) << applied.out.toStdString();
    EXPECT_EQ(titleOf(song), QStringLiteral("Tune"));
}

}  // namespace
}  // namespace tessel
