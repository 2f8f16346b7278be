// tessel-cli write-stats: the library's ratings and play counts written into the tracks' files.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class WriteStatsCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("write-stats"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override { return {}; }

  protected:
    QString action() const override { return QStringLiteral("performWriteStats"); }
    void perform(AppDelegate& delegate) const override;
    QString writesHelp() const override;
};

}  // namespace tessel::cli
