#include "CapitalizeCommand.h"
#include "Command.h"
#include "EncodeCommand.h"
#include "ExportCommand.h"
#include "HistoryCommand.h"
#include "LibraryCommand.h"
#include "LinkCommand.h"
#include "MoveCommand.h"
#include "NumericCommand.h"
#include "RenameCommand.h"
#include "SearchReplaceCommand.h"
#include "SizeCommand.h"
#include "SupportMailCommand.h"
#include "UndoCommand.h"
// Library maintenance tools
#include "DeadCommand.h"
#include "PlaylistCommand.h"
#include "RelinkCommand.h"
#include "WriteStatsCommand.h"

namespace tessel::cli {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<SearchReplaceCommand>());
    commands.push_back(std::make_unique<CapitalizeCommand>());
    commands.push_back(std::make_unique<MoveCommand>());
    commands.push_back(std::make_unique<EncodeCommand>());
    commands.push_back(std::make_unique<NumericCommand>());
    commands.push_back(std::make_unique<RenameCommand>());
    commands.push_back(std::make_unique<SizeCommand>());
    commands.push_back(std::make_unique<ExportCommand>());
    // Library maintenance tools
    commands.push_back(std::make_unique<PlaylistCommand>());
    commands.push_back(std::make_unique<DeadCommand>());
    commands.push_back(std::make_unique<RelinkCommand>());
    commands.push_back(std::make_unique<WriteStatsCommand>());
    commands.push_back(std::make_unique<UndoCommand>());
    commands.push_back(std::make_unique<HistoryCommand>());
    commands.push_back(std::make_unique<LibraryCommand>());
    commands.push_back(std::make_unique<LinkCommand>());
    commands.push_back(std::make_unique<SupportMailCommand>());
    return commands;
}

}  // namespace tessel::cli
