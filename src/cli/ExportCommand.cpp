#include "ExportCommand.h"

#include "SizeCommand.h"
#include "TerminalPresenter.h"
#include "app/AppDelegate.h"
#include "support/FormattedString.h"

#include <QDir>

namespace tessel::cli {

namespace {

// In the order of the formats' numbers, from 1.
const QStringList kFormats{"txt", "xml", "m3u8", "xspf"};

}  // namespace

QString ExportCommand::summary() const {
    return QStringLiteral(
        "Save the tracks as text or XML, or as an M3U8 or XSPF playlist for other players.");
}

QList<Flag> ExportCommand::toolFlags() const {
    return {
        {"--format", "txt|xml|m3u8|xspf",
         "tab-separated text, XML, or a playlist for other players (default: txt)",
         [this](const QString& text) -> Step {
             const auto format = kFormats.indexOf(text.trimmed().toLower());
             if (format < 0)
                 throw UsageError{
                     QStringLiteral("--format: '%1' is not txt, xml, m3u8 or xspf").arg(text)};
             format_ = int(format) + 1;
             return [](AppDelegate&) {};
         }},
        {"--relative-to", "DIR",
         "M3U8 and XSPF: paths relative to this folder (the player's music folder)",
         [](const QString& text) -> Step {
             const QString folder = QDir::cleanPath(QDir::current().absoluteFilePath(text));
             return [folder](AppDelegate& delegate) {
                 delegate.setProperty("selectedExportPaths", 1);
                 delegate.setProperty("exportFolder", folder);
             };
         }},
        {"--relative", "", "M3U8 and XSPF: paths relative to the playlist file's own folder",
         [](const QString&) -> Step {
             return [](AppDelegate& delegate) { delegate.setProperty("selectedExportPaths", 2); };
         }},
        {"--all-playlists", "",
         "every editable playlist (or those inside the --playlist folder), one file each, into "
         "the --save-to folder",
         [this](const QString&) -> Step {
             all_ = true;
             return [](AppDelegate&) {};
         }},
        {"--save-to", "FILE|DIR",
         "the file to write (replaced when it exists); a folder with "
         "--all-playlists",
         nullptr},
    };
}

QList<Flag> ExportCommand::sharedFlags() const {
    return flagsWithoutApply();
}

void ExportCommand::perform(AppDelegate& delegate) const {
    delegate.performExport(format_);
}

bool ExportCommand::runAction(AppDelegate& delegate, const ToolArguments&,
                              const TerminalPresenter& presenter, RunReport& report) const {
    if (presenter.saveTarget().isEmpty())
        throw UsageError{QStringLiteral("--save-to FILE is needed: the file to write")};
    if (all_)
        return runAll(delegate, presenter.saveTarget(), report);
    const auto connection = QObject::connect(
        &delegate, &AppDelegate::playlistExported,
        [&report](const QString& path, int count, int leftOut) {
            report.result =
                count == 1
                    ? formattedString(QStringLiteral("1 track exported to %@."), path)
                    : formattedString(QStringLiteral("%i tracks exported to %@."), count, path);
            if (leftOut == 1)
                report.result += QStringLiteral(" 1 dead track left out.");
            else if (leftOut > 1)
                report.result +=
                    formattedString(QStringLiteral(" %i dead tracks left out."), leftOut);
        });
    const bool succeeded = runToEnd(delegate, [&] { perform(delegate); });
    QObject::disconnect(connection);
    report.applied = !report.result.isEmpty();
    return succeeded && report.applied;
}

bool ExportCommand::runAll(AppDelegate& delegate, const QString& folder, RunReport& report) const {
    const auto connection = QObject::connect(
        &delegate, &AppDelegate::playlistsExported,
        [&report, folder](int playlists, int entries, int leftOut) {
            report.result = formattedString(
                QStringLiteral("%i playlists exported to %@: %i entries, %i dead left out."),
                playlists, folder, entries, leftOut);
        });
    const bool succeeded = runToEnd(delegate, [&] { delegate.performExportAll(format_, folder); });
    QObject::disconnect(connection);
    report.applied = !report.result.isEmpty();
    return succeeded && report.applied;
}

QString ExportCommand::writesHelp() const {
    return QStringLiteral(
        "It writes only the --save-to file, through a temporary file renamed into place. The\n"
        "XML and XSPF name the playlist chosen with --playlist (by default the library's first\n"
        "one), whatever the source. M3U8 and XSPF name each file by its absolute path unless\n"
        "--relative-to or --relative is given, with \"/\" between folders; XSPF writes them as\n"
        "percent-encoded file URLs. Streams keep their web address; dead tracks are left out\n"
        "and counted. With --all-playlists it writes one file per playlist into the --save-to\n"
        "folder, named after the playlist (made safe, and distinct: \"Mix (2)\").");
}

}  // namespace tessel::cli
