#include "HistoryCommand.h"

#include "CommandLine.h"
#include "app/RunJournaling.h"
#include "itunes/MusicLibrary.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace tessel::cli {

namespace {

const QString kUsage = QStringLiteral(
    "Usage: tessel-cli history [--library FILE] [--json]\n"
    "\nLists the applied runs the music library keeps, newest first: the run's number (for\n"
    "'tessel-cli undo --run N'), when it started, the tool, how many changes it wrote, and\n"
    "whether it was taken back. The last 50 runs are kept, or more while they hold no more\n"
    "than 100,000 changes.\n"
    "\n  --library FILE  the music library (default: TESSEL_LIBRARY, else the user's own)\n"
    "  --json          one JSON array\n"
    "\nExit codes: 0 listed, 1 the library cannot be read, 2 a usage error.\n");

QString localTime(const QDateTime& time) {
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The local time with its offset from UTC, so scripts read the moment unambiguously.
QDateTime withOffset(const QDateTime& time) {
    const QDateTime local = time.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc());
}

QString asText(const QList<itunes::RunSummary>& runs) {
    if (runs.isEmpty())
        return QStringLiteral("No applied run is kept.\n");
    QString text = QStringLiteral("%1  %2  %3  %4\n")
                       .arg(QStringLiteral("RUN"), 5)
                       .arg(QStringLiteral("TIME"), -19)
                       .arg(QStringLiteral("TOOL"), -18)
                       .arg(QStringLiteral("WRITTEN"));
    for (const itunes::RunSummary& run : runs) {
        text += QStringLiteral("%1  %2  %3  %4%5\n")
                    .arg(run.id, 5)
                    .arg(localTime(run.time), -19)
                    .arg(run.tool, -18)
                    .arg(run.written, 7)
                    .arg(run.undone ? QStringLiteral("  undone") : QString());
    }
    return text;
}

QByteArray asJson(const QList<itunes::RunSummary>& runs) {
    QJsonArray array;
    for (const itunes::RunSummary& run : runs) {
        array.append(QJsonObject{{"run", run.id},
                                 {"time", withOffset(run.time).toString(Qt::ISODate)},
                                 {"tool", run.tool},
                                 {"count", run.count},
                                 {"written", run.written},
                                 {"undone", run.undone}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace

QString HistoryCommand::summary() const {
    return QStringLiteral("List the applied runs that 'undo' can take back.");
}

int HistoryCommand::execute(const QStringList& arguments) {
    QString library;
    bool json = false;
    try {
        const CommandLine line =
            parseCommandLine(arguments, {libraryOption(), jsonOption(), helpOption()});
        if (!line.positional.isEmpty())
            throw UsageError{QStringLiteral("unknown argument '%1'").arg(line.positional.first())};
        for (const GivenOption& given : line.options) {
            if (given.name == u"--help") {
                QTextStream(stdout) << kUsage;
                return kExitOk;
            }
            if (given.name == u"--library")
                library = libraryFile(given.value);
            json = json || given.name == u"--json";
        }
    } catch (const UsageError& error) {
        QTextStream(stderr) << "tessel-cli history: " << error.message << "\n\n" << kUsage;
        return kExitUsage;
    }
    const std::optional<itunes::RunJournal> journal =
        openRunJournal(itunes::libraryProvider(itunes::libraryPath(library)));
    if (!journal) {
        QTextStream(stderr) << "tessel-cli history: the music library keeps no history here.\n";
        return kExitFailure;
    }
    try {
        const QList<itunes::RunSummary> runs = journal->runs();
        QTextStream out(stdout);
        if (json)
            out << asJson(runs);
        else
            out << asText(runs);
        return kExitOk;
    } catch (const TesselError& error) {
        QTextStream(stderr) << "tessel-cli history: " << error.description() << '\n';
        return kExitFailure;
    }
}

}  // namespace tessel::cli
