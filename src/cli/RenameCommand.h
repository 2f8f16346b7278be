// tessel-cli rename: the Filename Changer from the command line. Like the page it renames at
// once, but only with --apply; without it, it lists the renames it would make.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class RenameCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("rename"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;
    /// --folder, --library, --set, --apply, --answer, --json and --help.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performRename"); }
    void perform(AppDelegate& delegate) const override;
    /// Renames (with --apply) or lists the renames; the result lists each file not left as
    /// it was, and why a file was left alone.
    bool runAction(AppDelegate& delegate, const ToolArguments& arguments,
                   const TerminalPresenter& presenter, RunReport& report) const override;
    QString synopsis() const override { return QStringLiteral("--folder DIR [OPTIONS]"); }
    QString writesHelp() const override;
};

}  // namespace tessel::cli
