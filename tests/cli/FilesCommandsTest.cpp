// tessel-cli rename, export and size run as a separate program: the dry run renames nothing,
// --apply renames and the library re-read afterwards shows the new locations, the export file
// holds the tracks, and the size estimate prints its message.
#include "CliTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tessel {
namespace {

using test::CliRun;

class FilesCommandsTest : public test::CliTest {
  protected:
    QStringList filesIn(const QString& path) const {
        return QDir(path).entryList(QDir::Files, QDir::Name);
    }
    // The last column of "library tracks": each track's location.
    QStringList libraryLocations() {
        const CliRun listed = run({"library", "tracks", "--playlist", "Rock"});
        EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
        QStringList locations;
        for (const QString& line : listed.lines())
            locations.append(line.section(u'\t', -1));
        return locations;
    }
};

TEST_F(FilesCommandsTest, RenameListsFirstAndTheLibraryFollowsTheApply) {
    musicFolder();
    ASSERT_EQ(run({"library", "add-folder", folder(), "--playlist", "Rock"}).exitCode, 0);
    const QStringList before = filesIn(folder());

    const CliRun dry = run({"rename", "--folder", folder(), "--pattern", "#n #a - #t"});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.contains("tagged.mp3 → 3 Artist - Song.mp3 (would be renamed)"))
        << dry.out.toStdString();
    EXPECT_TRUE(dry.out.endsWith("4 files would be renamed; --apply renames them.\n"));
    EXPECT_EQ(filesIn(folder()), before);

    const CliRun applied =
        run({"rename", "--folder", folder(), "--pattern", "#n #a - #t", "--apply"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_TRUE(applied.out.endsWith("4 files renamed.\n")) << applied.out.toStdString();
    const QStringList after{"3 Artist - Song.flac", "3 Artist - Song.m4a", "3 Artist - Song.mp3",
                            "3 Artist - Song.ogg"};
    EXPECT_EQ(filesIn(folder()), after);

    // Read afresh, the library's tracks point at the renamed files.
    const QStringList locations = libraryLocations();
    ASSERT_EQ(locations.size(), 4);
    for (const QString& location : locations) {
        EXPECT_TRUE(location.startsWith(QDir(folder()).absolutePath() + "/3 Artist - Song."))
            << location.toStdString();
        EXPECT_TRUE(QFileInfo(location).isFile()) << location.toStdString();
    }

    // A name holding "/" leaves every file alone, and so does the library.
    const CliRun slash =
        run({"rename", "--folder", folder(), "--pattern", "#a/#t", "--apply", "--json"});
    EXPECT_EQ(slash.exitCode, 0) << slash.err.toStdString();
    EXPECT_TRUE(slash.json().value("result").toString().contains(
        "3 Artist - Song.mp3: kept, the pattern gives no usable name (“Artist/Song.mp3”)"))
        << slash.out.toStdString();
    EXPECT_EQ(filesIn(folder()), after);
    EXPECT_EQ(libraryLocations(), locations);
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

    EXPECT_EQ(run({"rename"}).exitCode, 1);  // "No Folder"
    EXPECT_EQ(run({"rename", "--folder", folder(), "--padding", "sometimes"}).exitCode, 2);
}

TEST_F(FilesCommandsTest, ExportWritesTheChosenFileAndSizeEstimates) {
    musicFolder();
    const QString out = temp.filePath("list.txt");
    const CliRun exported =
        run({"export", "--folder", folder(), "--format", "txt", "--save-to", out});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, "4 tracks exported to " + out + ".\n");
    const QStringList lines = QString::fromUtf8(test::fileBytes(out)).split(u'\n');
    ASSERT_EQ(lines.size(), 5);  // four lines, each ended by a line feed
    EXPECT_TRUE(lines.at(0).startsWith("Artist\tSong\tAlbum\t")) << lines.at(0).toStdString();
    EXPECT_EQ(lines.at(0).count(u'\t'), 3);

    // An M3U8 beside the music names each file from its own folder, and each name resolves.
    const QString lists = temp.filePath("lists");
    ASSERT_TRUE(QDir().mkpath(lists));
    const CliRun m3u = run({"export", "--folder", folder(), "--format", "m3u8", "--relative",
                            "--save-to", lists + "/all.m3u8"});
    EXPECT_EQ(m3u.exitCode, 0) << m3u.err.toStdString();
    EXPECT_EQ(m3u.out, "4 tracks exported to " + lists + "/all.m3u8.\n");
    const QStringList entries = QString::fromUtf8(test::fileBytes(lists + "/all.m3u8"))
                                    .split(u'\n', Qt::SkipEmptyParts)
                                    .filter(QRegularExpression("^[^#]"));
    ASSERT_EQ(entries.size(), 4);
    for (const QString& entry : entries) {
        EXPECT_TRUE(entry.startsWith("../")) << entry.toStdString();
        EXPECT_TRUE(QFileInfo(QDir(lists).filePath(entry)).isFile()) << entry.toStdString();
    }

    EXPECT_EQ(run({"export", "--folder", folder()}).exitCode, 2);  // no --save-to
    EXPECT_EQ(run({"export", "--folder", folder(), "--format", "csv", "--save-to", out}).exitCode,
              2);
    const CliRun failed =
        run({"export", "--folder", folder(), "--save-to", temp.filePath("x/y/z")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains("Export Failed")) << failed.err.toStdString();

    const CliRun size = run({"size", "--folder", folder(), "--bitrate", "256", "--json"});
    EXPECT_EQ(size.exitCode, 0) << size.err.toStdString();
    const QString result = size.json().value("result").toString();
    EXPECT_TRUE(result.startsWith("These files are currently occupying approximately"))
        << size.out.toStdString();
    EXPECT_TRUE(
        result.endsWith("when converting them all to 256 kbps (even if they are "
                        "currently smaller)."));
    // Printed once, on standard output; standard error stays free for problems.
    const CliRun text = run({"size", "--folder", folder()});
    EXPECT_TRUE(text.out.contains("currently occupying")) << text.out.toStdString();
    EXPECT_FALSE(text.err.contains("currently occupying")) << text.err.toStdString();
    EXPECT_EQ(run({"size", "--folder", folder(), "--bitrate", "100"}).exitCode, 2);
}

}  // namespace
}  // namespace tessel
