// tessel-cli move: the Data Mover from the command line.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class MoveCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("move"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performMove"); }
    void perform(AppDelegate& delegate) const override;
};

}  // namespace tessel::cli
