// tessel-cli library, in-process and as the built program: actions, JSON shapes, exit codes.
#include "LibraryFixture.h"
#include "cli/LibraryCommand.h"
#include "itunes/Connection.h"
#include "itunes/MusicLibrary.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace tessel {
namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

class LibraryCommandTest : public test::LibraryTest {
  protected:
    // Runs in-process against the test's library file unless the arguments name another.
    Result run(QStringList arguments, bool withLibrary = true) {
        if (withLibrary)
            arguments << QStringLiteral("--library") << libraryFile;
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        Result result;
        {
            cli::LibraryCommand command(&out, &err);
            result.code = command.execute(arguments);
        }
        result.out = QString::fromUtf8(out.data());
        result.err = QString::fromUtf8(err.data());
        return result;
    }

    QJsonValue json(const QStringList& arguments) {
        const Result result = run(arguments + QStringList{QStringLiteral("--json")});
        EXPECT_EQ(result.code, cli::kExitOk) << result.err.toStdString();
        const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8());
        return document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    }
};

TEST_F(LibraryCommandTest, ImportThenListPlaylistsAndTracks) {
    const QJsonObject summary = json({"import-xml", writeExport()}).toObject();
    EXPECT_EQ(summary["tracksAdded"].toInt(), 6);
    EXPECT_EQ(summary["playlistsAdded"].toInt(), 7);

    const QJsonArray playlists = json({"playlists"}).toArray();
    const QStringList expected{"Music|1|4",     "Collections|1|2", "Road Trip|0|3", "Road Trip|0|1",
                               "Top Rated|1|1", "Mixed|0|3",       "Empty|0|0"};
    QStringList actual;
    for (const QJsonValue& value : playlists) {
        const QJsonObject playlist = value.toObject();
        EXPECT_EQ(playlist.keys(), (QStringList{"name", "persistentID", "smart", "tracks"}));
        actual.append(QStringLiteral("%1|%2|%3")
                          .arg(playlist["name"].toString())
                          .arg(int(playlist["smart"].toBool()))
                          .arg(playlist["tracks"].toInt()));
    }
    EXPECT_EQ(actual, expected);

    // Two playlists are named "Road Trip": each is reached by its persistent ID.
    const QJsonArray trip = json({"tracks", "--playlist", "bbbb000000000203"}).toArray();
    ASSERT_EQ(trip.size(), 3);
    const QJsonObject first = trip.at(0).toObject();
    EXPECT_EQ(first.keys(),
              (QStringList{"album", "artist", "id", "kind", "location", "name", "persistentID"}));
    EXPECT_EQ(first["name"].toString(), QStringLiteral("Café & 🎵 Song"));
    EXPECT_EQ(first["persistentID"].toString(), QStringLiteral("AAAA000000000101"));
    EXPECT_EQ(first["kind"].toString(), QStringLiteral("file"));
    EXPECT_EQ(first["location"].toString(), livingTrack);
    EXPECT_TRUE(trip.at(1).toObject()["location"].isNull());
    EXPECT_EQ(trip.at(2).toObject()["id"], first["id"]);

    const Result text = run({"tracks"});
    EXPECT_EQ(text.code, cli::kExitOk);
    const QStringList lines = text.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines.at(0).endsWith(u'\t' + livingTrack));
    EXPECT_TRUE(lines.at(1).endsWith(u"\tmissing"));
    EXPECT_TRUE(lines.at(3).contains(u"\turl\tRadio Stream\t"));
}

// The listing is written row by row as the database gives it, not built by QJsonDocument: it
// must still parse, hold every text exactly, and be laid out as QJsonDocument lays it out.
TEST_F(LibraryCommandTest, JsonListingsEscapeEveryTextAndParse) {
    importFixture();
    const QStringList odd{
        QStringLiteral("quote \" and back\\slash"), QStringLiteral("tab\tnew\nline\rfeed\f\b"),
        QString(QChar(0x01)) + QChar(0x1f) + QStringLiteral(" control ") + QChar(0x7f),
        QStringLiteral("😀 日本語 ü </script> & <b>"), QString()};
    auto connection = itunes::Connection::open(libraryFile);
    connection->locked([&](sql::Database& db) {
        sql::Statement update(db, "UPDATE tracks SET name = ?, artist = ?, album = ? WHERE id = ?");
        for (int i = 0; i < odd.size(); ++i) {
            update.reset();
            update.bind(1, odd.at(i)).bind(2, odd.at((i + 1) % odd.size()));
            update.bind(3, odd.at((i + 2) % odd.size())).bind(4, qint64(i + 1));
            update.run();
        }
    });
    const Result listed = run({"tracks", "--json"});
    ASSERT_EQ(listed.code, cli::kExitOk) << listed.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(listed.out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(listed.out.toUtf8(), document.toJson(QJsonDocument::Indented));
    const QJsonArray tracks = document.array();
    ASSERT_EQ(tracks.size(), 6);
    for (int i = 0; i < odd.size(); ++i) {
        const QJsonObject track = tracks.at(i).toObject();
        EXPECT_EQ(track["name"].toString(), odd.at(i)) << i;
        EXPECT_EQ(track["artist"].toString(), odd.at((i + 1) % odd.size())) << i;
        EXPECT_EQ(track["album"].toString(), odd.at((i + 2) % odd.size())) << i;
    }
    EXPECT_EQ(tracks.at(0).toObject()["location"].toString(), livingTrack);
    EXPECT_TRUE(tracks.at(1).toObject()["location"].isNull());

    const Result none = run({"tracks", "--selection", "--json"});
    EXPECT_EQ(none.out.toUtf8(), QJsonDocument(QJsonArray()).toJson(QJsonDocument::Indented));
    const Result missing = run({"tracks", "--playlist", "No Such List", "--json"});
    EXPECT_EQ(missing.code, cli::kExitFailure);
    EXPECT_TRUE(missing.out.isEmpty());
}

TEST_F(LibraryCommandTest, NewPlaylistsFoldersAndTheSelection) {
    importFixture();
    EXPECT_TRUE(json({"new-playlist", "Smartish", "--smart"}).toObject()["smart"].toBool());
    EXPECT_EQ(run({"new-playlist", "Plain"}).code, cli::kExitOk);
    temp.copyFixture(QStringLiteral("tagged.flac"), QStringLiteral("more/a.flac"));
    const QJsonObject added =
        json({"add-folder", temp.filePath("more"), "--playlist", "Plain"}).toObject();
    EXPECT_EQ(added["tracksAdded"].toInt(), 1);
    EXPECT_EQ(added["entriesAdded"].toInt(), 1);
    EXPECT_EQ(run({"add-folder", temp.filePath("more"), "--playlist", "Smartish"}).code,
              cli::kExitFailure);

    // A row list is a set of rows: overlapping ranges select each row once, in playlist order.
    EXPECT_EQ(json({"select", "--playlist", "BBBB000000000203", "--rows", "3,1-2,2-3"})
                  .toObject()["selected"]
                  .toInt(),
              3);
    EXPECT_EQ(namesOf(open()->selection()),
              (QStringList{"Café & 🎵 Song", "Gone Song", "Café & 🎵 Song"}));
    QStringList listed;
    for (const QJsonValue& track : json({"tracks", "--selection"}).toArray())
        listed.append(track.toObject()["name"].toString());
    EXPECT_EQ(listed, (QStringList{"Café & 🎵 Song", "Gone Song", "Café & 🎵 Song"}));
    EXPECT_EQ(run({"tracks", "--selection", "--playlist", "Mixed"}).code, cli::kExitUsage);
    EXPECT_EQ(run({"select", "--playlist", "Mixed"}).code, cli::kExitOk);
    EXPECT_EQ(open()->selection().size(), 3);
    EXPECT_EQ(run({"select", "--playlist", "Empty"}).code, cli::kExitOk);
    EXPECT_TRUE(open()->selection().isEmpty());
}

TEST_F(LibraryCommandTest, OptionsComeBeforeBetweenOrAfterTheActionAndItsOperands) {
    importFixture();
    EXPECT_EQ(json({"--playlist", "Mixed", "select", "--rows=2-3"}).toObject()["selected"].toInt(),
              2);
    EXPECT_EQ(open()->selection().size(), 2);
    const QJsonObject created = json({"new-playlist", "--smart", "Late"}).toObject();
    EXPECT_EQ(created["name"].toString(), QStringLiteral("Late"));
    EXPECT_TRUE(created["smart"].toBool());
    EXPECT_EQ(run({"-h"}).code, cli::kExitOk);

    const Result flagWithValue = run({"playlists", "--json=1"});
    EXPECT_EQ(flagWithValue.code, cli::kExitUsage);
    EXPECT_TRUE(flagWithValue.err.startsWith(u"tessel-cli library: --json takes no value\n"))
        << flagWithValue.err.toStdString();
}

TEST_F(LibraryCommandTest, UsageErrorsAndFailures) {
    importFixture();
    const QString broken = writeExport(
        QStringLiteral("broken.xml"),
        {{QStringLiteral("<integer>1999</integer>"), QStringLiteral("<integer>x</integer>")}});
    const QList<std::pair<QStringList, int>> rows{
        {{}, cli::kExitUsage},
        {{"frobnicate"}, cli::kExitUsage},
        {{"import-xml"}, cli::kExitUsage},
        {{"import-xml", "a", "b"}, cli::kExitUsage},
        {{"tracks", "--rows", "1"}, cli::kExitUsage},
        {{"playlists", "--smart"}, cli::kExitUsage},
        {{"select"}, cli::kExitUsage},
        {{"select", "--playlist", "Mixed", "--rows", "2-1"}, cli::kExitUsage},
        {{"select", "--playlist", "Mixed", "--rows", "4"}, cli::kExitUsage},
        {{"select", "--playlist", "Mixed", "--rows", "x"}, cli::kExitUsage},
        {{"tracks", "--colour"}, cli::kExitUsage},
        {{"playlists", "--library="}, cli::kExitUsage},
        {{"new-playlist", " "}, cli::kExitUsage},
        {{"tracks", "--playlist", "Road Trip"}, cli::kExitUsage},
        {{"select", "--playlist", "Road Trip"}, cli::kExitUsage},
        {{"add-folder", temp.filePath("missing"), "--playlist", "Road Trip"}, cli::kExitUsage},
        {{"tracks", "--playlist", "Nowhere"}, cli::kExitFailure},
        {{"select", "--playlist", "Nowhere"}, cli::kExitFailure},
        {{"import-xml", broken}, cli::kExitFailure},
        {{"import-xml", temp.filePath("missing.xml")}, cli::kExitFailure},
        {{"add-folder", temp.filePath("missing")}, cli::kExitFailure},
    };
    for (const auto& [arguments, code] : rows) {
        const Result result = run(arguments);
        EXPECT_EQ(result.code, code) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty()) << arguments.join(u' ').toStdString();
        // Progress lines may come first; the failure itself is one line, the last.
        const QStringList lines = result.err.split(u'\n', Qt::SkipEmptyParts);
        const QString message = code == cli::kExitFailure ? lines.last() : lines.first();
        EXPECT_TRUE(message.startsWith(u"tessel-cli library: ")) << result.err.toStdString();
    }
    EXPECT_TRUE(run({"import-xml", broken}).err.contains(u"line 28"));
    const QString ambiguous = run({"tracks", "--playlist", "Road Trip"}).err;
    EXPECT_TRUE(ambiguous.contains(u"BBBB000000000203  Road Trip\n  BBBB000000000204  Road Trip"))
        << ambiguous.toStdString();
    EXPECT_EQ(open()->selection().size(), 0);

    const Result notALibrary = run({"playlists", "--library", broken}, false);
    EXPECT_EQ(notALibrary.code, cli::kExitFailure);
    EXPECT_EQ(run({"--help"}).code, cli::kExitOk);
}

TEST_F(LibraryCommandTest, TheProgramRunsEndToEnd) {
    const auto runProgram = [&](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TESSEL_LIBRARY"), libraryFile);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TESSEL_CLI), QStringList{"library"} + arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return Result{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                      QString::fromUtf8(process.readAllStandardError())};
    };
    const Result imported = runProgram({"import-xml", writeExport(), "--json"});
    EXPECT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.contains(u"Tracks 6/6"));
    EXPECT_EQ(QJsonDocument::fromJson(imported.out.toUtf8()).object()["tracksAdded"].toInt(), 6);

    const Result listed = runProgram({"playlists"});
    EXPECT_EQ(listed.code, 0);
    EXPECT_TRUE(listed.out.startsWith(
        u"BBBB000000000201\tMusic\tsmart\t4\nBBBB000000000202\tCollections\tsmart\t2\n"))
        << listed.out.toStdString();
    EXPECT_EQ(runProgram({"tracks", "--playlist", "Nowhere"}).code, 1);
    EXPECT_EQ(runProgram({"bogus"}).code, 2);
}

}  // namespace
}  // namespace tessel
