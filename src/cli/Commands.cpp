#include "CapitalizeCommand.h"
#include "Command.h"
#include "EncodeCommand.h"
#include "LibraryCommand.h"
#include "MoveCommand.h"
#include "NumericCommand.h"
#include "SearchReplaceCommand.h"

namespace tessel::cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<SearchReplaceCommand>());
    commands.push_back(std::make_unique<CapitalizeCommand>());
    commands.push_back(std::make_unique<MoveCommand>());
    commands.push_back(std::make_unique<EncodeCommand>());
    commands.push_back(std::make_unique<NumericCommand>());
    commands.push_back(std::make_unique<LibraryCommand>());
    return commands;
}

}  // namespace tessel::cli
