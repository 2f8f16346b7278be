// tessel-cli capitalize: the Capitalization tool from the command line.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class CapitalizeCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("capitalize"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performCapitalization"); }
    void perform(AppDelegate& delegate) const override;
};

}  // namespace tessel::cli
