// tessel-cli dead: dead-track removal from the command line.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class DeadCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("dead"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override { return {}; }
    /// A library playlist only: no folder or selection.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performDead"); }
    void perform(AppDelegate& delegate) const override;
    QString synopsis() const override;
    QString writesHelp() const override;
};

}  // namespace tessel::cli
