// tessel-cli capitalize, move, encode and numeric run as a separate program: previews write
// nothing, --apply writes exactly the checked rows (read back with TagLib), and the numeric
// tool writes the library's selection.
#include "CliTestSupport.h"
#include "itunes/MusicLibrary.h"
#include "model/TrackGathering.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace tessel {
namespace {

using test::CliRun;

// The fields of a file's tag as TagLib reads them.
struct FileTags {
    QString title, artist, album, comment, genre;
    unsigned int year = 0;
};

FileTags tagsOf(const QString& path) {
    const TagLib::FileRef file(QFile::encodeName(path).constData());
    EXPECT_FALSE(file.isNull()) << path.toStdString();
    if (file.isNull())
        return {};
    const TagLib::Tag& tag = *file.tag();
    const auto text = [](const TagLib::String& s) {
        return QString::fromStdWString(s.toWString());
    };
    return {text(tag.title()),   text(tag.artist()), text(tag.album()),
            text(tag.comment()), text(tag.genre()),  tag.year()};
}

void setTitle(const QString& path, const QString& title) {
    TagLib::FileRef file(QFile::encodeName(path).constData());
    file.tag()->setTitle(TagLib::String(title.toStdWString()));
    ASSERT_TRUE(file.save()) << path.toStdString();
}

using TagToolCommandsTest = test::CliTest;

struct ToolRow {
    const char* name;
    QStringList arguments;
    QString infoLine;
    QString firstRow;  // the first row of the preview
    std::function<QString(const FileTags&)> field;
    QString written;  // the field's value after --apply
};

QList<ToolRow> toolRows() {
    const QString four = QStringLiteral("Checked tracks of these 4 tracks will get their tag ");
    const auto title = [](const FileTags& tags) { return tags.title; };
    const auto comment = [](const FileTags& tags) { return tags.comment; };
    const auto genre = [](const FileTags& tags) { return tags.genre; };
    return {
        {"upper case",
         {"capitalize", "--method", "upper"},
         four + "'name' changed:",
         "   1 [x] Song | Artist | Song → SONG",
         title,
         "SONG"},
        {"lower case of the album",
         {"capitalize", "--tag", "album", "--method", "lower"},
         four + "'album' changed:",
         "   1 [x] Song | Artist | Album → album",
         [](const FileTags& tags) { return tags.album; },
         "album"},
        {"the year prepended to the comment",
         {"move", "--action", "copy", "--from", "year", "--to", "comment", "--placement", "prepend",
          "--delimiter", ": "},
         four + "'comment' changed:",
         "   1 [x] Song | Artist | Note → 1999: Note",
         comment,
         "1999: Note"},
        {"the vowels of the album, any case",
         {"move", "--action", "copy", "--from", "album", "--to", "genre", "--portion", "regex",
          "--regex", "[aeiou]"},
         four + "'genre' changed:",
         "   1 [x] Song | Artist | Rock → Au",
         genre,
         "Au"},
        {"the lower-case vowels of the album",
         {"move", "--action", "copy", "--from", "album", "--to", "genre", "--portion", "regex",
          "--regex", "[aeiou]", "--case-sensitive"},
         four + "'genre' changed:",
         "   1 [x] Song | Artist | Rock → u",
         genre,
         "u"},
        {"all but the first two characters of the artist",
         {"move", "--action", "copy", "--from", "artist", "--to", "comment", "--portion",
          "except-first", "--count", "2", "--placement", "append", "--delimiter", "-"},
         four + "'comment' changed:",
         "   1 [x] Song | Artist | Note → Note-tist",
         comment,
         "Note-tist"},
        {"UTF-8 read as Latin-1",
         {"encode", "--from", "utf-8", "--to", "latin1"},
         four + "'name' changed:",
         QStringLiteral("   1 [x] Café | Artist | Café → CafÃ©"),
         title,
         QStringLiteral("CafÃ©")},
    };
}

// The encoding rows work on an accented title.
void prepare(const ToolRow& row, const QStringList& paths) {
    const bool accented = row.arguments.contains("encode");
    for (const QString& path : paths)
        setTitle(path, accented ? QStringLiteral("Café") : QStringLiteral("Song"));
}

TEST_F(TagToolCommandsTest, PreviewsListTheChangesAndWriteNothing) {
    const QStringList paths = musicFolder();
    for (const ToolRow& row : toolRows()) {
        prepare(row, paths);
        const auto before = bytesOf(paths);
        const CliRun run = this->run(row.arguments + QStringList{"--folder", folder()});
        EXPECT_EQ(run.exitCode, 0) << row.name << ": " << run.err.toStdString();
        const QStringList lines = run.lines();
        ASSERT_EQ(lines.size(), 5) << row.name << ": " << run.out.toStdString();
        EXPECT_EQ(lines.at(0), row.infoLine) << row.name;
        EXPECT_EQ(lines.at(1), row.firstRow) << row.name;
        EXPECT_TRUE(bytesOf(paths) == before) << row.name;
    }
}

TEST_F(TagToolCommandsTest, ApplyWritesExactlyTheCheckedRows) {
    for (const ToolRow& row : toolRows()) {
        QFile::remove(folder() + "/tagged.mp3");  // a fresh set of copies for every row
        for (const char* name : {"tagged.flac", "tagged.ogg", "tagged.m4a"})
            QFile::remove(folder() + "/" + name);
        const QStringList paths = musicFolder();
        prepare(row, paths);
        const auto before = bytesOf(paths);
        const CliRun run = this->run(row.arguments + QStringList{"--folder", folder(), "--uncheck",
                                                                 "2,4", "--apply", "--json"});
        EXPECT_EQ(run.exitCode, 0) << row.name << ": " << run.err.toStdString();
        const QJsonObject json = run.json();
        EXPECT_EQ(json["applied"], true) << row.name;
        EXPECT_EQ(json["result"], "2 changes applied.") << row.name;
        const QJsonArray records = json["changes"]["records"].toArray();
        ASSERT_EQ(records.size(), 4) << row.name;
        for (const QJsonValue& record : records) {
            const QString path = record["location"].toString();
            ASSERT_TRUE(paths.contains(path)) << row.name << ": " << path.toStdString();
            if (record["enabled"].toBool()) {
                EXPECT_EQ(row.field(tagsOf(path)), row.written)
                    << row.name << " " << path.toStdString();
            } else {
                EXPECT_TRUE(test::fileBytes(path) == before.value(path))
                    << row.name << " " << path.toStdString();
            }
        }
    }
}

TEST_F(TagToolCommandsTest, ASwapWritesBothTagsOfEachCheckedTrack) {
    const QStringList paths = musicFolder();
    const auto before = bytesOf(paths);
    const CliRun run = this->run(
        {"move", "--folder", folder(), "--from", "Title", "--to", "artist", "--uncheck", "3-4"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList preview = run.lines();
    ASSERT_EQ(preview.size(), 9);
    EXPECT_EQ(preview.at(0),
              "Checked tracks of these 8 tracks will get their tags 'name', 'artist' changed:");
    EXPECT_EQ(preview.at(1), "   1 [x] Song | Artist | Song → Artist");
    EXPECT_EQ(preview.at(2), "   2 [x] Song | Artist | Artist → Song");
    EXPECT_EQ(preview.at(3), "   3 [ ] Song | Artist | Song → Artist");
    EXPECT_TRUE(bytesOf(paths) == before);

    const CliRun applied = this->run({"move", "--folder", folder(), "--from", "Title", "--to",
                                      "artist", "--uncheck", "3-4", "--apply", "--json"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    const QJsonObject json = applied.json();
    EXPECT_EQ(json["result"], "6 changes applied.");
    const QJsonArray records = json["changes"]["records"].toArray();
    const QString skipped = records.at(2)["location"].toString();
    EXPECT_TRUE(test::fileBytes(skipped) == before.value(skipped));
    for (const QString& path : paths) {
        if (path == skipped)
            continue;
        const FileTags tags = tagsOf(path);
        EXPECT_EQ(tags.title, "Artist") << path.toStdString();
        EXPECT_EQ(tags.artist, "Song") << path.toStdString();
    }
}

TEST_F(TagToolCommandsTest, AlertsStopTheToolsAndWriteNothing) {
    const QStringList paths = musicFolder();
    const auto before = bytesOf(paths);
    struct Row {
        QStringList arguments;
        int exitCode;
        QString stderrStart;
    };
    const Row rows[] = {
        {{"move", "--action", "copy", "--portion", "first", "--count", "0"},
         1,
         "Invalid Data: You have to enter a positive number into Tag Portion field"},
        {{"move", "--action", "copy", "--portion", "regex", "--regex", "(", "--apply"},
         1,
         "Invalid RegExp Pattern: The Regexp you've entered is invalid."},
        {{"encode", "--from", "utf-8", "--to", "utf-8", "--apply"},
         0,
         "No Changes: The Encoding Conversion you've entered doesn't lead to any changes"},
        {{"capitalize", "--method", "title", "--apply"},
         0,
         "No Changes: The Capitalization Pattern you've entered doesn't lead to any changes"},
        {{"move", "--from", "album", "--to", "album", "--apply"},
         0,
         "No Changes: The Data Move Pattern you've entered doesn't lead to any changes"},
        {{"capitalize", "--method", "shout", "--apply"}, 2, "tessel-cli capitalize: --method:"},
        {{"encode", "--to", "klingon", "--apply"}, 2, "tessel-cli encode: --to:"},
    };
    for (const Row& row : rows) {
        const CliRun run = this->run(row.arguments + QStringList{"--folder", folder()});
        const std::string name = row.arguments.join(' ').toStdString();
        EXPECT_EQ(run.exitCode, row.exitCode) << name;
        EXPECT_TRUE(run.err.startsWith(row.stderrStart)) << name << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << name << ": " << run.out.toStdString();
    }
    EXPECT_TRUE(bytesOf(paths) == before);
}

TEST_F(TagToolCommandsTest, HelpListsTheToolsAndTheirFlags) {
    const CliRun usage = run({"--help"});
    EXPECT_EQ(usage.exitCode, 0);
    const QPair<const char*, QStringList> tools[] = {
        {"capitalize", {"--tag TAG", "--method METHOD", "--apply", "--folder DIR"}},
        {"move",
         {"--action ACTION", "--from TAG", "--to TAG", "--portion PORTION", "--count N",
          "--regex EXPR", "--case-sensitive", "--placement PLACEMENT", "--delimiter TEXT"}},
        {"encode", {"--from ENC", "--to ENC", "mac-roman", "utf-32", "--uncheck LIST"}},
        {"numeric", {"--tag TAG", "--set-to N", "--add N", "--subtract N", "--set NAME=VALUE"}},
    };
    for (const auto& [tool, flags] : tools) {
        EXPECT_TRUE(usage.out.contains(QStringLiteral("\n  %1 ").arg(tool))) << tool;
        const CliRun help = run({tool, "--help"});
        EXPECT_EQ(help.exitCode, 0) << tool;
        for (const QString& flag : flags)
            EXPECT_TRUE(help.out.contains(flag)) << tool << " " << flag.toStdString();
    }
    const QString numeric = run({"numeric", "--help"}).out;
    for (const char* absent : {"--apply", "--uncheck", "--folder", "[SOURCE]"})
        EXPECT_FALSE(numeric.contains(absent)) << absent;
}

TEST_F(TagToolCommandsTest, NumericWritesTheLibrarysSelection) {
    const QStringList paths = musicFolder();
    ASSERT_EQ(run({"library", "add-folder", folder(), "--playlist", "Rock"}).exitCode, 0);
    ASSERT_EQ(run({"library", "select", "--playlist", "Rock", "--rows", "1,3"}).exitCode, 0);
    const auto years = [&] {
        QList<qint64> values;
        const auto library = itunes::libraryProvider(libraryFile())();
        for (const itunes::TrackPtr& track :
             library->sources()
                 .first()
                 ->userPlaylists(itunes::PlaylistFilter::named("Rock"))
                 .first()
                 ->tracks())
            values.append(track->property("year").toLongLong());
        return values;
    };
    ASSERT_EQ(years(), (QList<qint64>{1999, 1999, 1999, 1999}));

    const CliRun added = run({"numeric", "--tag", "Year", "--add", "5"});
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, "2 tracks written.\n");
    EXPECT_EQ(years(), (QList<qint64>{2004, 1999, 2004, 1999}));

    const CliRun subtracted = run({"numeric", "--tag", "year", "--subtract", "4.9", "--json"});
    EXPECT_EQ(subtracted.exitCode, 0) << subtracted.err.toStdString();
    const QJsonObject expected{{"action", "performNumeric"},
                               {"alerts", QJsonArray()},
                               {"changes", QJsonValue()},
                               {"applied", true},
                               {"result", "2 tracks written."}};
    EXPECT_EQ(subtracted.json(), expected) << subtracted.out.toStdString();
    EXPECT_EQ(years(), (QList<qint64>{2000, 1999, 2000, 1999}));

    // The library writes through to the files of the selected tracks.
    const QList<QString> files = [&] {
        QList<QString> locations;
        const auto library = itunes::libraryProvider(libraryFile())();
        for (const itunes::TrackPtr& track :
             library->sources()
                 .first()
                 ->userPlaylists(itunes::PlaylistFilter::named("Rock"))
                 .first()
                 ->tracks())
            locations.append(track->location().value_or(QString()));
        return locations;
    }();
    EXPECT_EQ(tagsOf(files.at(0)).year, 2000u);
    EXPECT_EQ(tagsOf(files.at(1)).year, 1999u);

    const auto before = bytesOf(paths);
    const CliRun noNumber = run({"numeric", "--tag", "year", "--json"});
    EXPECT_EQ(noNumber.exitCode, 1);
    const QJsonObject json = noNumber.json();
    const QJsonArray alerts = json["alerts"].toArray();
    ASSERT_EQ(alerts.size(), 1) << noNumber.out.toStdString();
    EXPECT_EQ(alerts.at(0)["title"], "Invalid Data");
    EXPECT_EQ(alerts.at(0)["message"],
              "You have to enter a number to use the Numeric Tag Changer.");
    EXPECT_EQ(json["applied"], false);
    EXPECT_EQ(run({"numeric", "--set-to", "1", "--apply"}).exitCode, 2);
    EXPECT_TRUE(bytesOf(paths) == before);
    EXPECT_EQ(years(), (QList<qint64>{2000, 1999, 2000, 1999}));

    ASSERT_EQ(run({"library", "select", "--playlist", "Rock"}).exitCode, 0);
    const CliRun set = run({"numeric", "--tag", "trackNumber", "--set-to", "0"});
    EXPECT_EQ(set.out, "4 tracks written.\n") << set.err.toStdString();
}

}  // namespace
}  // namespace tessel
