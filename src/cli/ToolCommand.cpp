#include "ToolCommand.h"

#include "RunReport.h"
#include "TerminalPresenter.h"
#include "app/AppDelegate.h"
#include "changes/ChangePanel.h"
#include "itunes/MusicLibrary.h"
#include "support/FormattedString.h"

#include <QEventLoop>
#include <QTextStream>

#include <cstdio>

namespace tessel::cli {

namespace {

void echoProgress(AppDelegate& delegate, TerminalPresenter& presenter) {
    const auto show = [&delegate, &presenter] {
        presenter.showProgress(delegate.currentProgressTitle(), delegate.currentProgressDetail());
    };
    QObject::connect(&delegate, &AppDelegate::currentProgressTitleChanged, &delegate, show);
    QObject::connect(&delegate, &AppDelegate::currentProgressDetailChanged, &delegate, show);
}

QString appliedText(int count) {
    return count == 1 ? QStringLiteral("1 change applied.")
                      : formattedString(QStringLiteral("%i changes applied."), count);
}

void printUsageError(const QString& command, const QString& message) {
    QTextStream(stderr) << "tessel-cli " << command << ": " << message << "\nRun 'tessel-cli "
                        << command << " --help' for its options.\n";
}

}  // namespace

bool ToolCommand::runToEnd(AppDelegate& delegate, const std::function<void()>& action) {
    QEventLoop loop;
    bool ended = false;
    bool succeeded = false;
    const auto connection =
        QObject::connect(&delegate, &AppDelegate::runEnded, &loop, [&](bool ok) {
            ended = true;
            succeeded = ok;
            loop.quit();
        });
    action();
    if (!ended)
        loop.exec();
    QObject::disconnect(connection);
    return succeeded;
}

int ToolCommand::execute(const QStringList& arguments) {
    try {
        const ToolArguments parsed = parseToolArguments(arguments, toolFlags(), sharedFlags());
        if (parsed.help) {
            printHelp();
            return kExitOk;
        }
        return run(parsed);
    } catch (const UsageError& error) {
        printUsageError(name(), error.message);
        return kExitUsage;
    }
}

int ToolCommand::run(const ToolArguments& arguments) const {
    TerminalPresenter presenter(arguments.answer, !arguments.json);
    presenter.setSaveTarget(arguments.saveTo);
    presenter.setFolderAnswer(arguments.choose);
    presenter.setResultTitle(resultTitle());
    AppDelegate delegate(itunes::libraryProvider(itunes::libraryPath(arguments.library)),
                         presenter);
    // Nobody is there to answer a request to rate the application.
    delegate.setAsksForRating(false);
    delegate.applicationDidFinishLaunching();
    echoProgress(delegate, presenter);
    for (const Step& step : arguments.steps)
        step(delegate);

    RunReport report{action(), {}, std::nullopt, {}, {}, {}, false, {}};
    const bool succeeded = runAction(delegate, arguments, presenter, report);
    report.alerts = presenter.alerts();
    QTextStream out(stdout);
    if (arguments.json)
        out << toJson(report);
    else
        out << toText(report);
    return succeeded ? kExitOk : kExitFailure;
}

bool ToolCommand::runAction(AppDelegate& delegate, const ToolArguments& arguments,
                            const TerminalPresenter& presenter, RunReport& report) const {
    bool succeeded = runToEnd(delegate, [&] { perform(delegate); });
    if (!delegate.changes())
        return succeeded;
    delegate.checkSelected(arguments.uncheck.rowsIn(int(delegate.changes()->records.size())), 0);
    report.changes = *delegate.changes();
    report.info = presenter.infoLine();
    report.note = presenter.noteLine();
    if (arguments.json)  // only the JSON rows name the files
        report.locations = locationsOf(*report.changes);
    if (succeeded && arguments.apply) {
        succeeded = report.applied = runToEnd(delegate, [&] { delegate.applyChanges(); });
        if (report.applied)
            report.result = appliedText(enabledCount(*report.changes));
    }
    return succeeded;
}

QString ToolCommand::synopsis() const {
    return QStringLiteral("[SOURCE] [OPTIONS]");
}

QString ToolCommand::writesHelp() const {
    return QStringLiteral("Without --apply nothing is written: the changes are listed.");
}

void ToolCommand::printHelp() const {
    QTextStream out(stdout);
    out << "Usage: tessel-cli " << name() << ' ' << synopsis() << "\n\n"
        << summary() << "\n\n"
        << writesHelp() << "\n\nCommon options:\n"
        << flagsHelp(sharedFlags()) << "\nOptions of " << name() << ":\n"
        << flagsHelp(toolFlags()) << "\nExit codes: 0 the run reached its end, 1 an alert "
        << "stopped it, 2 a usage error.\n";
}

}  // namespace tessel::cli
