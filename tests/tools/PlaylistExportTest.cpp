#include "ToolTestSupport.h"
#include "tools/PlaylistExport.h"

#include <QDir>
#include <QFile>

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
    EXPECT_TRUE(PlaylistExport({3, ""}).validate());
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

}  // namespace
}  // namespace tessel::test
