#include "LibraryCommand.h"

#include "CommandLine.h"
#include "RowList.h"
#include "StatusLine.h"
#include "TrackListing.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"
#include "itunes/PlaylistStore.h"
#include "itunes/TrackStore.h"
#include "support/FormattedString.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cstdio>

namespace tessel::cli {

namespace {

using itunes::playliststore::PlaylistKind;
using Use = itunes::Connection::Use;

struct Options {
    QString action;
    QStringList operands;
    QString library;
    std::optional<QString> playlist;
    std::optional<RowList> rows;
    bool smart = false;
    bool selection = false;
    bool json = false;
    bool help = false;
};

// The usage text describes them with the actions that take them.
QList<Option> libraryOptions() {
    const Option playlist{"--playlist", "NAME|ID", {}};
    const Option rows{"--rows", "LIST", {}};
    const Option smart{"--smart", {}, {}};
    const Option selection{"--selection", {}, {}};
    return {libraryOption(), jsonOption(), helpOption(), playlist, rows, smart, selection};
}

// The action and its operands may come before, between or after the options.
Options readOptions(const QStringList& arguments) {
    const CommandLine line = parseCommandLine(arguments, libraryOptions());
    Options options;
    options.action = line.positional.value(0);
    options.operands = line.positional.mid(1);
    for (const auto& [name, value] : line.options) {
        if (name == u"--library")
            options.library = libraryFile(value);
        else if (name == u"--playlist")
            options.playlist = value;
        else if (name == u"--rows")
            options.rows = RowList::parse(value, name);
        else if (name == u"--smart")
            options.smart = true;
        else if (name == u"--selection")
            options.selection = true;
        else if (name == u"--json")
            options.json = true;
        else if (name == u"--help")
            options.help = true;
    }
    return options;
}

// Redrawn in place on a terminal; in a log, a line a second and the last one.
class ProgressLines : public ProgressSink {
  public:
    explicit ProgressLines(QTextStream& stream)
        : line_(stream, StatusLine::modeFor(stream), StatusLine::columnsOf(stream)) {}
    void setProgress(const QString& detail) override { line_.show(detail); }

  private:
    StatusLine line_;
};

// One run of the command: the options, the library and the output.
class Run {
  public:
    Run(Options options, QTextStream& out, QTextStream& err)
        : options_(std::move(options)), out_(out), err_(err) {}

    int importXml() {
        ProgressLines progress(err_);
        const auto summary =
            itunes::importLibraryXml(connection(), options_.operands.at(0), &progress);
        return report(QJsonObject{{"tracksAdded", summary.tracksAdded},
                                  {"tracksUpdated", summary.tracksUpdated},
                                  {"playlistsAdded", summary.playlistsAdded},
                                  {"playlistsUpdated", summary.playlistsUpdated},
                                  {"entriesSkipped", summary.entriesSkipped}});
    }

    int addFolder() {
        if (options_.playlist)  // a name several playlists share is a usage error
            connection().locked(
                [&](sql::Database& db) { checkUnambiguous(db, *options_.playlist); });
        ProgressLines progress(err_);
        const auto summary = itunes::importFolder(connection(), options_.operands.at(0),
                                                  options_.playlist, &progress);
        return report(QJsonObject{{"tracksAdded", summary.tracksAdded},
                                  {"tracksPresent", summary.tracksPresent},
                                  {"entriesAdded", summary.entriesAdded}});
    }

    int playlists() {
        QJsonArray list;
        connection(Use::Reading).locked([&](sql::Database& db) {
            for (const auto& info : itunes::playliststore::list(db, {})) {
                list.append(
                    QJsonObject{{"name", info.name},
                                {"persistentID", info.persistentId},
                                {"smart", info.kind != PlaylistKind::User},
                                {"tracks", itunes::playliststore::entryCount(db, info.id)}});
            }
        });
        if (options_.json)
            return printJson(list);
        for (const QJsonValue& value : list) {
            const QJsonObject playlist = value.toObject();
            out_ << playlist["persistentID"].toString() << '\t' << playlist["name"].toString()
                 << '\t' << (playlist["smart"].toBool() ? "smart" : "user") << '\t'
                 << playlist["tracks"].toInt() << '\n';
        }
        return kExitOk;
    }

    // Rows are written as they are read, so a listing of any size takes little memory.
    int tracks() {
        TrackListing listing(out_, options_.json);
        const auto write = [&](const itunes::trackstore::TrackRow& row) { listing.write(row); };
        connection(Use::Reading).locked([&](sql::Database& db) {
            if (options_.selection)
                itunes::trackstore::visitSelection(db, write);
            else if (!options_.playlist)
                itunes::trackstore::visitAll(db, write);
            else
                itunes::trackstore::visitPlaylist(db, playlistNamed(db, *options_.playlist).id,
                                                  write);
        });
        listing.finish();
        return kExitOk;
    }

    int newPlaylist() {
        const QString name = options_.operands.at(0);
        if (name.trimmed().isEmpty())
            throw UsageError{QStringLiteral("a playlist needs a name")};
        const auto info = connection().locked([&](sql::Database& db) {
            sql::Transaction transaction(db);
            const qint64 id = itunes::playliststore::create(
                db, name, options_.smart ? PlaylistKind::Smart : PlaylistKind::User);
            transaction.commit();
            return itunes::playliststore::info(db, id);
        });
        return report(QJsonObject{
            {"name", info.name}, {"smart", options_.smart}, {"persistentID", info.persistentId}});
    }

    int select() {
        const int count = connection().locked([&](sql::Database& db) {
            sql::Transaction transaction(db);
            const auto entries =
                itunes::playliststore::entries(db, playlistNamed(db, *options_.playlist).id);
            QList<qint64> items;
            const QList<int> rows = options_.rows ? options_.rows->rowsIn(int(entries.size()))
                                                  : allRows(int(entries.size()));
            for (int row : rows)
                items.append(entries.at(row).itemId);
            itunes::playliststore::setSelection(db, items);
            transaction.commit();
            return int(items.size());
        });
        return report(QJsonObject{{"playlist", *options_.playlist}, {"selected", count}});
    }

  private:
    // Reading actions open the library for reading only, so a library on a read-only medium
    // can still be listed.
    itunes::Connection& connection(Use use = Use::Any) {
        if (!connection_)
            connection_ = itunes::Connection::open(itunes::libraryPath(options_.library), use);
        return *connection_;
    }

    static QList<int> allRows(int count) {
        QList<int> rows;
        for (int row = 0; row < count; ++row)
            rows.append(row);
        return rows;
    }

    // The playlist a --playlist value names, by persistent ID or by a name only it has.
    static itunes::playliststore::PlaylistInfo playlistNamed(sql::Database& db,
                                                             const QString& name) {
        const auto matches = checkUnambiguous(db, name);
        if (matches.isEmpty())
            throw TesselError(
                QStringLiteral("No Playlist"),
                formattedString(QStringLiteral("There is no playlist named “%@”."), name));
        return matches.first();
    }

    static QList<itunes::playliststore::PlaylistInfo> checkUnambiguous(sql::Database& db,
                                                                       const QString& name) {
        const auto matches = itunes::playliststore::matching(db, name);
        if (matches.size() > 1) {
            QStringList choices;
            for (const auto& info : matches)
                choices.append(
                    formattedString(QStringLiteral("  %@  %@"), info.persistentId, info.name));
            throw UsageError{formattedString(
                QStringLiteral("%i playlists are named “%@”; give one of their persistent IDs "
                               "instead:\n%@"),
                int(matches.size()), name, choices.join(u'\n'))};
        }
        return matches;
    }

    int report(const QJsonObject& summary) {
        if (options_.json)
            return printJson(summary);
        for (auto it = summary.constBegin(); it != summary.constEnd(); ++it)
            out_ << it.key() << ": " << it.value().toVariant().toString() << '\n';
        return kExitOk;
    }

    int printJson(const QJsonValue& value) {
        const QJsonDocument document =
            value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
        out_ << document.toJson(QJsonDocument::Indented);
        return kExitOk;
    }

    Options options_;
    QTextStream& out_;
    QTextStream& err_;
    std::shared_ptr<itunes::Connection> connection_;
};

struct Action {
    const char* name;
    int operands;
    QSet<QString> options;  // beyond --library, --json and --help
    const char* usage;
    int (Run::*run)();
};

const QList<Action>& actions() {
    static const QList<Action> list{
        {"import-xml", 1, {}, "import-xml FILE", &Run::importXml},
        {"add-folder", 1, {"playlist"}, "add-folder DIR [--playlist NAME|ID]", &Run::addFolder},
        {"playlists", 0, {}, "playlists", &Run::playlists},
        {"tracks",
         0,
         {"playlist", "selection"},
         "tracks [--playlist NAME|ID | --selection]",
         &Run::tracks},
        {"new-playlist", 1, {"smart"}, "new-playlist NAME [--smart]", &Run::newPlaylist},
        {"select",
         0,
         {"playlist", "rows"},
         "select --playlist NAME|ID [--rows LIST]",
         &Run::select},
    };
    return list;
}

QString usageText() {
    QString text = QStringLiteral(
        "Usage: tessel-cli library ACTION [--library FILE] [--json]\n"
        "\nActions:\n");
    for (const Action& action : actions())
        text += QStringLiteral("  ") + QString::fromLatin1(action.usage) + u'\n';
    text += QStringLiteral(
        "\nThe library is FILE, else $TESSEL_LIBRARY, else library.sqlite in "
        "the per-user data folder.\nA playlist is named by its persistent ID (see 'playlists') "
        "or by a name no other playlist has.\nLIST: 1-based rows and ranges such as 1,4-6.\n");
    return text;
}

const Action& checkedAction(const Options& options) {
    for (const Action& action : actions()) {
        if (options.action != QLatin1String(action.name))
            continue;
        if (options.operands.size() != action.operands)
            throw UsageError{formattedString(QStringLiteral("usage: tessel-cli library %@"),
                                             QString::fromLatin1(action.usage))};
        const QList<std::pair<const char*, bool>> given{{"playlist", options.playlist.has_value()},
                                                        {"rows", options.rows.has_value()},
                                                        {"smart", options.smart},
                                                        {"selection", options.selection}};
        for (const auto& [option, present] : given) {
            if (present && !action.options.contains(QString::fromLatin1(option)))
                throw UsageError{formattedString(QStringLiteral("%@ does not take --%@"),
                                                 options.action, QString::fromLatin1(option))};
        }
        if (options.selection && options.playlist)
            throw UsageError{QStringLiteral("give --playlist or --selection, not both")};
        if (options.action == u"select" && !options.playlist)
            throw UsageError{QStringLiteral("select needs --playlist NAME")};
        return action;
    }
    throw UsageError{options.action.isEmpty()
                         ? QStringLiteral("no action given")
                         : formattedString(QStringLiteral("unknown action “%@”"), options.action)};
}

}  // namespace

LibraryCommand::LibraryCommand()
    : out_(stdout, QIODevice::WriteOnly), err_(stderr, QIODevice::WriteOnly) {}

LibraryCommand::LibraryCommand(QIODevice* output, QIODevice* errors) : out_(output), err_(errors) {}

QString LibraryCommand::summary() const {
    return QStringLiteral(
        "Fill and inspect the music library: import, folders, playlists, "
        "tracks, selection");
}

int LibraryCommand::execute(const QStringList& arguments) {
    try {
        const Options options = readOptions(arguments);
        if (options.help) {
            out_ << usageText();
            return kExitOk;
        }
        const Action& action = checkedAction(options);
        Run run(options, out_, err_);
        const int code = (run.*action.run)();
        out_.flush();
        return code;
    } catch (const UsageError& error) {
        err_ << "tessel-cli library: " << error.message << "\n\n" << usageText();
        err_.flush();
        return kExitUsage;
    } catch (const TesselError& error) {
        out_.flush();
        err_ << "tessel-cli library: " << QString(error.reason()).replace(u'\n', u' ') << '\n';
        err_.flush();
        return kExitFailure;
    }
}

}  // namespace tessel::cli
