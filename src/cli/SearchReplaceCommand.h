// tessel-cli search-replace: the Search & Replace tool from the command line.
#pragma once

#include "ToolCommand.h"

namespace tessel::cli {

class SearchReplaceCommand : public ToolCommand {
  public:
    QString name() const override { return QStringLiteral("search-replace"); }
    QString summary() const override;
    QList<Flag> toolFlags() const override;

  protected:
    QString action() const override { return QStringLiteral("performSearchReplace"); }
    void perform(AppDelegate& delegate) const override;
};

}  // namespace tessel::cli
