// tessel-cli encode: the encoding converter from the command line.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class EncodeCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("encode"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performEncoding"); }
    void perform(AppDelegate& delegate) const override;
    QString writesHelp() const override;
};

}  // namespace tessel::cli
