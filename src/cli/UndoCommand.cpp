#include "UndoCommand.h"

#include "app/AppDelegate.h"

namespace tessel::cli {

QString UndoCommand::summary() const {
    return QStringLiteral("Take back an applied run (the last one, or --run N of 'history').");
}

QList<Flag> UndoCommand::toolFlags() const {
    return {
        {"--run", "N", "take back run N of the history (default: the last run not taken back)",
         [run = run_](const QString& text) -> Step {
             bool ok = false;
             const qint64 number = text.trimmed().toLongLong(&ok);
             if (!ok || number < 1)
                 throw UsageError{QStringLiteral("--run: '%1' is not a run number").arg(text)};
             *run = number;
             return [](AppDelegate&) {};
         }},
    };
}

QList<Flag> UndoCommand::sharedFlags() const {
    QList<Flag> flags;
    for (const Flag& flag : commonFlags()) {
        if (!QStringList{"--folder", "--playlist", "--selection", "--set"}.contains(flag.name))
            flags.append(flag);
    }
    return flags;
}

void UndoCommand::perform(AppDelegate& delegate) const {
    delegate.performUndo(*run_);
}

bool UndoCommand::runAction(AppDelegate& delegate, const ToolArguments& arguments,
                            const TerminalPresenter& presenter, RunReport& report) const {
    const bool succeeded = ToolCommand::runAction(delegate, arguments, presenter, report);
    const QStringList& leftAlone = delegate.undoLeftAlone();
    if (!leftAlone.isEmpty()) {
        QString lines = QStringLiteral("Left alone:");
        for (const QString& line : leftAlone)
            lines += QStringLiteral("\n  ") + line;
        report.result = report.result.isEmpty() ? lines : lines + u'\n' + report.result;
    }
    return succeeded;
}

QString UndoCommand::writesHelp() const {
    return QStringLiteral(
        "Without --apply nothing is written: the changes that would restore the old values are\n"
        "listed, and so are the changes left alone because their track holds another value\n"
        "since, or is gone. With it the checked ones are written, with the same checks as any\n"
        "apply, and the run is marked undone. A run of 'rename' moves its files back, the last\n"
        "renamed first, where the old name is free. An undo is no run of its own: undo again\n"
        "to take back the run before it. 'tessel-cli history' lists the runs.");
}

}  // namespace tessel::cli
