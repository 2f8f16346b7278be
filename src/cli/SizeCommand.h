// tessel-cli size: the size and bitrate estimate of the tracks of a source. It changes
// nothing, so it has no preview and no --apply; its result is the estimate's message.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class SizeCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("size"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;
    /// All but --apply and --uncheck.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performCalculate"); }
    void perform(AppDelegate& delegate) const override;
    /// Runs the estimate; the result is the message of its alert.
    bool runAction(AppDelegate& delegate, const ToolArguments& arguments,
                   const TerminalPresenter& presenter, RunReport& report) const override;
    QString writesHelp() const override;
    QString resultTitle() const override;
};

/// The shared flags of a tool that writes nothing: all but --apply and --uncheck.
QList<Flag> flagsWithoutApply();

}  // namespace tessel::cli
