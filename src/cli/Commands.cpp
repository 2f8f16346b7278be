#include "Command.h"
#include "SearchReplaceCommand.h"

namespace tessel::cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<SearchReplaceCommand>());
    return commands;
}

}  // namespace tessel::cli
