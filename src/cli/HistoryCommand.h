// tessel-cli history: the runs the library's runs journal keeps, newest first: number, local
// time, tool, the records written, and whether the run was taken back.
#pragma once

#include "Command.h"

namespace tessel::cli {

class HistoryCommand : public Command {
  public:
    QString name() const override { return QStringLiteral("history"); }
    QString summary() const override;
    int execute(const QStringList& arguments) override;
};

}  // namespace tessel::cli
