// tessel-cli undo: takes back an applied run of the library's runs journal, the last one not
// taken back yet or the one --run names. Like the tools it previews first: the changes that
// would restore the old values, and the records left alone because they changed since;
// --apply writes the checked ones.
#pragma once

#include "ToolCommand.h"

#include <optional>

namespace tessel::cli {

class UndoCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("undo"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;
    /// --library, --apply, --uncheck, --answer, --json and --help.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performUndo"); }
    void perform(AppDelegate& delegate) const override;
    /// The usual preview and apply; the result also lists each record left alone.
    bool runAction(AppDelegate& delegate, const ToolArguments& arguments,
                   const TerminalPresenter& presenter, RunReport& report) const override;
    QString synopsis() const override { return QStringLiteral("[--run N] [OPTIONS]"); }
    QString writesHelp() const override;

  private:
    // Set while the arguments are read, before the run.
    std::shared_ptr<std::optional<qint64>> run_ = std::make_shared<std::optional<qint64>>();
};

}  // namespace tessel::cli
