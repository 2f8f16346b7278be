#include "Command.h"

namespace tessel::cli {

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    return commands;
}

}  // namespace tessel::cli
