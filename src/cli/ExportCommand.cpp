#include "ExportCommand.h"

#include "SizeCommand.h"
#include "TerminalPresenter.h"
#include "app/AppDelegate.h"
#include "support/FormattedString.h"

namespace tessel::cli {

QString ExportCommand::summary() const {
    return QStringLiteral("Save the tracks' artist, title, album and duration as text or XML.");
}

QList<Flag> ExportCommand::toolFlags() const {
    return {
        {"--format", "txt|xml", "tab-separated text or XML (default: txt)",
         [this](const QString& text) -> Step {
             const QString format = text.trimmed().toLower();
             if (format != u"txt" && format != u"xml")
                 throw UsageError{QStringLiteral("--format: '%1' is not txt or xml").arg(text)};
             format_ = format == u"txt" ? 1 : 2;
             return [](AppDelegate&) {};
         }},
        {"--save-to", "FILE", "the file to write (replaced when it exists)", nullptr},
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
    const auto connection = QObject::connect(
        &delegate, &AppDelegate::playlistExported, [&report](const QString& path, int count) {
            report.result =
                count == 1
                    ? formattedString(QStringLiteral("1 track exported to %@."), path)
                    : formattedString(QStringLiteral("%i tracks exported to %@."), count, path);
        });
    const bool succeeded = runToEnd(delegate, [&] { perform(delegate); });
    QObject::disconnect(connection);
    report.applied = !report.result.isEmpty();
    return succeeded && report.applied;
}

QString ExportCommand::writesHelp() const {
    return QStringLiteral(
        "It writes only the --save-to file, through a temporary file renamed into place. The\n"
        "XML names the playlist chosen with --playlist (by default the library's first one),\n"
        "whatever the source.");
}

}  // namespace tessel::cli
