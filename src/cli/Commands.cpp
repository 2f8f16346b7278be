#include "Command.h"
#include "LibraryCommand.h"
#include "SearchReplaceCommand.h"

namespace tessel::cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<SearchReplaceCommand>());
    commands.push_back(std::make_unique<LibraryCommand>());
    return commands;
}

}  // namespace tessel::cli
