// The subcommand of a tool that proposes changes. Every such tool runs the same way: start
// the controller, set the source and options, run the tool's action, print the preview, and
// with --apply write the checked rows. A tool adds its name, its action and its own flags.
#pragma once

#include "Command.h"
#include "ToolArguments.h"

namespace tessel {
class AppDelegate;
}

namespace tessel::cli {

class ToolCommand : public Command {
  public:
    int execute(const QStringList& arguments) override;
    /// The tool's own friendly flags.
    virtual QList<Flag> toolFlags() const = 0;

  protected:
    /// The controller action the tool runs, as reported ("performSearchReplace").
    virtual QString action() const = 0;
    /// Starts the tool on the controller.
    virtual void perform(AppDelegate& delegate) const = 0;

  private:
    int run(const ToolArguments& arguments) const;
    void printHelp() const;
};

}  // namespace tessel::cli
