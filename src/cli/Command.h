// One subcommand of tessel-cli: its name, a one-line summary for the usage text, and
// execute(), which parses the arguments after the name and runs.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace tessel::cli {

/// Exit codes: the run reached its end / an alert or failure stopped it / bad usage.
enum ExitCode : int { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

class Command {
  public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    virtual QString summary() const = 0;
    /// Runs with the arguments that follow the subcommand's name; returns an ExitCode.
    /// Called on the main thread with a QCoreApplication running.
    virtual int execute(const QStringList& arguments) = 0;
};

/// Every subcommand, in the order the usage text lists them (Commands.cpp).
std::vector<std::unique_ptr<Command>> allCommands();

}  // namespace tessel::cli
