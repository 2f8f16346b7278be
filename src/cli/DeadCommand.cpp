#include "DeadCommand.h"

#include "PlaylistCommand.h"
#include "app/AppDelegate.h"

namespace tessel::cli {

QString DeadCommand::summary() const {
    return QStringLiteral(
        "Remove the tracks whose music file the library cannot find from their playlist.");
}

QList<Flag> DeadCommand::sharedFlags() const {
    return playlistOnlyFlags();
}

void DeadCommand::perform(AppDelegate& delegate) const {
    delegate.performDead();
}

QString DeadCommand::synopsis() const {
    return QStringLiteral("[--playlist NAME|ID] [OPTIONS]");
}

QString DeadCommand::writesHelp() const {
    return QStringLiteral(
        "It works on a library playlist (--playlist, default: the first). Without --apply\n"
        "nothing is removed: the dead tracks are listed. Removing takes a track out of the\n"
        "playlist only; the track stays in the library.");
}

}  // namespace tessel::cli
