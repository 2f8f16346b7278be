// tessel-cli numeric: the numeric tag changer from the command line. It always works on the
// library's selection and writes at once: no source, no preview, no --apply.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class NumericCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("numeric"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;
    /// --library, --set, --answer, --json and --help.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performNumeric"); }
    void perform(AppDelegate& delegate) const override;
    /// Writes the selection and reports "N tracks written."
    bool runAction(AppDelegate& delegate, const ToolArguments& arguments,
                   const TerminalPresenter& presenter, RunReport& report) const override;
    QString synopsis() const override { return QStringLiteral("[OPTIONS]"); }
    QString writesHelp() const override;
};

}  // namespace tessel::cli
