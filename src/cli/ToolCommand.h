// The subcommand of a tool. A tool that proposes changes runs the same way every time: start
// the controller, set the source and options, run the tool's action, print the preview, and
// with --apply write the checked rows. A tool adds its name, its action and its own flags; a
// tool that writes at once replaces the run of the action and the shared flags it takes.
#pragma once

#include "Command.h"
#include "RunReport.h"
#include "ToolArguments.h"

#include <functional>

namespace tessel {
class AppDelegate;
}

namespace tessel::cli {

class TerminalPresenter;

class ToolCommand : public Command {
  public:
    int execute(const QStringList& arguments) override;
    /// The tool's own friendly flags.
    virtual QList<Flag> toolFlags() const = 0;
    /// The flags of every tool that this one takes: all of commonFlags() unless it says
    /// otherwise.
    virtual QList<Flag> sharedFlags() const { return commonFlags(); }

  protected:
    /// The controller action the tool runs, as reported ("performSearchReplace").
    virtual QString action() const = 0;
    /// Starts the tool on the controller.
    virtual void perform(AppDelegate& delegate) const = 0;
    /// Runs the tool on the controller, set up with the options, and fills the report's
    /// changes, applied flag and result; true when the run reached its end. By default:
    /// perform(), the preview of the change list, and with --apply the writing of its checked
    /// rows.
    virtual bool runAction(AppDelegate& delegate, const ToolArguments& arguments,
                           const TerminalPresenter& presenter, RunReport& report) const;
    /// What follows the name in the help text's usage line.
    virtual QString synopsis() const;
    /// The help text's line on what the tool writes.
    virtual QString writesHelp() const;
    /// The title of the alert that carries the tool's result, when it has one: it goes to
    /// standard output only.
    virtual QString resultTitle() const { return {}; }

    /// Starts an action and runs the event loop until the run it started has ended; returns
    /// whether it reached its end.
    static bool runToEnd(AppDelegate& delegate, const std::function<void()>& action);

  private:
    int run(const ToolArguments& arguments) const;
    void printHelp() const;
};

}  // namespace tessel::cli
