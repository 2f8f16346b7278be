// tessel-cli relink: re-linking dead tracks from the command line; --choose answers the folder
// chooser.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class RelinkCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("relink"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;
    /// A library playlist only: no folder or selection.
    QList<Flag> sharedFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performFix"); }
    void perform(AppDelegate& delegate) const override;
    QString synopsis() const override;
    QString writesHelp() const override;
};

}  // namespace tessel::cli
