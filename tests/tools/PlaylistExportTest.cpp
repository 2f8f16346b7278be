#include "ToolTestSupport.h"
#include "tools/AllPlaylistsExport.h"
#include "tools/PlaylistExport.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace tessel::test {
namespace {

MusicTrack song(const QString& artist, const QString& title, const QString& album,
                QVariant duration) {
    QVariantMap properties{{"artist", artist}, {"name", title}, {"album", album}};
    if (duration.isValid())
        properties.insert("duration", duration);
    return libraryTrack(properties);
}

PlaylistExport::Result exported(int format, const QList<MusicTrack>& tracks,
                                const QString& playlist = "Mix") {
    RecordingProgress progress;
    return PlaylistExport({format, playlist}).collect(gathering(tracks), progress);
}

TEST(PlaylistExportTest, TextHasOneTabbedLinePerTrackAndOneDecimal) {
    const auto result = exported(PlaylistExport::kText, {song("Artist", "Song", "Album", 215.51),
                                                         song("Other", "Two", "", 59.96)});
    EXPECT_EQ(result.text, "Artist\tSong\tAlbum\t215.5\nOther\tTwo\t\t60.0\n");
    EXPECT_EQ(result.tracks, 2);
    EXPECT_EQ(PlaylistExport::durationText({}), "0.0");
    EXPECT_EQ(PlaylistExport::durationText(qint64(240)), "240.0");
}

TEST(PlaylistExportTest, XmlEscapesAttributesAndWrapsEvenAnEmptyList) {
    EXPECT_EQ(exported(PlaylistExport::kXml, {}, "").text,
              "<?xml version=\"1.0\"?>\n<playlist name=''>\n</playlist>\n");
    const auto result =
        exported(PlaylistExport::kXml, {song("Simon & Garfunkel", "Don't <Stop>", "Album", {})},
                 "Rock & 'Roll'");
    EXPECT_EQ(result.text,
              "<?xml version=\"1.0\"?>\n<playlist name='Rock &amp; &apos;Roll&apos;'>\n"
              "<track artist='Simon &amp; Garfunkel' title='Don&apos;t &lt;Stop>' album='Album' "
              "duration='0.0' />\n</playlist>\n");
}

TEST(PlaylistExportTest, ReadErrorKeepsTheTracksBeforeItAndClosesTheDocument) {
    auto gone = InMemoryTrack::make({{"name", "Gone"}, {"artist", "A"}, {"album", "B"}});
    gone->failingKey = "album";
    const auto result = exported(
        PlaylistExport::kXml,
        {song("A", "One", "B", 1.0), MusicTrack::withTrack(gone), song("A", "Three", "B", 3.0)});
    ASSERT_TRUE(result.stoppedBy);
    EXPECT_EQ(result.tracks, 1);
    EXPECT_TRUE(result.text.contains("title='One'"));
    EXPECT_FALSE(result.text.contains("Three"));
    EXPECT_TRUE(result.text.endsWith("</playlist>\n"));

    RecordingProgress progress;
    EXPECT_FALSE(PlaylistExport({1, ""}).collect(failedGathering(), progress).gathered);
    EXPECT_TRUE(PlaylistExport({5, ""}).validate());
}

TEST(PlaylistExportTest, SaveReplacesTheFileWholeOrNotAtAll) {
    TempFolder folder;
    const QString path = folder.writeFile("list.txt", "old contents");
    PlaylistExport::save(path, QString::fromUtf8("Björk\tJóga\t\t305.0\n"));
    // UTF-8 with no byte-order mark.
    EXPECT_EQ(fileBytes(path), QByteArray("Bj\xc3\xb6rk\tJ\xc3\xb3ga\t\t305.0\n"));

    // A folder where the file should be cannot be replaced: an error, and nothing else changes.
    const QString taken = folder.filePath("taken.txt");
    ASSERT_TRUE(QDir().mkpath(taken + "/inside"));
    EXPECT_THROW(PlaylistExport::save(taken, "x"), TesselError);
    EXPECT_TRUE(QFileInfo(taken + "/inside").isDir());
    try {
        PlaylistExport::save(folder.filePath("missing/list.xml"), "x");
        ADD_FAILURE() << "a file in a missing folder was reported written";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), "Export Failed");
        EXPECT_TRUE(error.reason().contains("missing/list.xml"));
    }
    // No temporary file is left behind.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"list.txt"}));
}

// ---- playlists for other players ----

MusicTrack entry(const QString& artist, const QString& title, std::optional<QString> location,
                 QVariant duration = 215.51) {
    return libraryTrack({{"artist", artist},
                         {"name", title},
                         {"album", "Homogenic"},
                         {"duration", duration},
                         {"trackNumber", qint64(3)}},
                        std::move(location));
}

PlaylistText playlist(PlaylistExport::Options options, const QList<MusicTrack>& tracks,
                      const QString& savedAs = "/lists/Mix.m3u8") {
    RecordingProgress progress;
    const PlaylistExport tool(std::move(options));
    EXPECT_FALSE(tool.validate());
    return tool.document(tool.collect(gathering(tracks), progress), savedAs);
}

// Two tracks whose folder holds non-ASCII letters, a "#" and a space: M3U8 keeps the path as
// it is, XSPF percent-encodes it into a file URL.
TEST(PlaylistExportTest, M3u8AndXspfNameFilesOtherPlayersCanOpen) {
    const QList<MusicTrack> tracks{
        entry("Björk", "Jóga", QString("/music/Björk #1/01 Jóga.flac")),
        entry("", "Прощание", QString("/music/Björk #1/02 Прощание.mp3"), 0.0)};
    const PlaylistText m3u = playlist({PlaylistExport::kM3u8, "Mix"}, tracks);
    EXPECT_EQ(m3u.text, QString("#EXTM3U\n"
                                "#EXTINF:216,Björk - Jóga\n/music/Björk #1/01 Jóga.flac\n"
                                "#EXTINF:-1,Прощание\n/music/Björk #1/02 Прощание.mp3\n"));
    EXPECT_EQ(m3u.entries, 2);

    const PlaylistText xspf = playlist({PlaylistExport::kXspf, "Rock & Roll"}, tracks);
    EXPECT_TRUE(xspf.text.contains("<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">"));
    EXPECT_TRUE(xspf.text.contains("<title>Rock &amp; Roll</title>"));
    EXPECT_TRUE(xspf.text.contains(
        "<location>file:///music/Bj%C3%B6rk%20%231/01%20J%C3%B3ga.flac</location>"));
    EXPECT_TRUE(xspf.text.contains("<creator>Björk</creator>"));
    EXPECT_TRUE(xspf.text.contains("<duration>215510</duration>"));
    EXPECT_EQ(xspf.text.count("<duration>"), 1);  // 0 is the library's unknown
    EXPECT_TRUE(xspf.text.contains("<trackNum>3</trackNum>"));
    EXPECT_EQ(xspf.text.count("<track>"), 2);
    // The file URL is one a URL parser takes back to the same path.
    EXPECT_EQ(QUrl(QString("file:///music/Bj%C3%B6rk%20%231/01%20J%C3%B3ga.flac")).toLocalFile(),
              "/music/Björk #1/01 Jóga.flac");
}

TEST(PlaylistExportTest, PathsAreRelativeToTheChosenFolderOrThePlaylistsOwn) {
    const QList<MusicTrack> tracks{entry("A", "In", QString("/music/Björk #1/a b.mp3")),
                                   entry("A", "Out", QString("/elsewhere/c.mp3"))};
    const PlaylistText toFolder = playlist(
        {PlaylistExport::kM3u8, "Mix", PlaylistExport::kRelativeToFolder, "/music"}, tracks);
    EXPECT_TRUE(toFolder.text.contains("\nBjörk #1/a b.mp3\n"));
    EXPECT_TRUE(toFolder.text.contains("\n../elsewhere/c.mp3\n"));

    const PlaylistText toList =
        playlist({PlaylistExport::kXspf, "Mix", PlaylistExport::kRelativeToPlaylist}, tracks,
                 "/music/lists/Mix.xspf");
    EXPECT_TRUE(toList.text.contains("<location>../Bj%C3%B6rk%20%231/a%20b.mp3</location>"));
    EXPECT_TRUE(toList.text.contains("<location>../../elsewhere/c.mp3</location>"));

    // Relative to a folder asks for one.
    EXPECT_TRUE(
        PlaylistExport({PlaylistExport::kM3u8, "", PlaylistExport::kRelativeToFolder}).validate());
}

TEST(PlaylistExportTest, DeadTracksAreLeftOutAndCountedWhileStreamsKeepTheirAddress) {
    auto stream = InMemoryTrack::make({{"name", "Radio"}, {"artist", ""}}, std::nullopt);
    stream->stream = "http://radio.example/live?a=1&b=2";
    const QList<MusicTrack> tracks{
        entry("A", "Dead", std::nullopt), entry("A", "Alive", QString("/music/a.mp3")),
        MusicTrack::withTrack(stream), entry("A", "Line\nbreak", QString("/music/x\ny.mp3"))};
    const PlaylistText m3u = playlist({PlaylistExport::kM3u8, "Mix"}, tracks);
    // A path with a line break cannot be one line of the file: it is left out too.
    EXPECT_EQ(m3u.text,
              "#EXTM3U\n#EXTINF:216,A - Alive\n/music/a.mp3\n"
              "#EXTINF:-1,Radio\nhttp://radio.example/live?a=1&b=2\n");
    EXPECT_EQ(m3u.entries, 2);
    EXPECT_EQ(m3u.leftOut, 2);

    const PlaylistText xspf = playlist({PlaylistExport::kXspf, "Mix"}, tracks);
    EXPECT_TRUE(xspf.text.contains("<location>http://radio.example/live?a=1&amp;b=2</location>"));
    EXPECT_FALSE(xspf.text.contains("Dead"));
    EXPECT_EQ(xspf.leftOut, 1);
    EXPECT_EQ(xspf.entries, 3);
}

TEST(PlaylistExportTest, PlaylistFileNamesAreSafeAndDistinct) {
    using playlistfiles::distinctFileNames;
    EXPECT_EQ(
        distinctFileNames(
            {"Mix", "mix", "Mix", "AC/DC\\Live", "..", ".hidden", "Tab\there", QString(300, u'é')},
            "m3u8"),
        QStringList({"Mix.m3u8", "mix (2).m3u8", "Mix (3).m3u8", "AC-DC-Live.m3u8", "Playlist.m3u8",
                     "hidden.m3u8", "Tab here.m3u8", QString(100, u'é') + ".m3u8"}));
}

}  // namespace
}  // namespace tessel::test
