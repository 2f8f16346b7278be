#include "RelinkCommand.h"

#include "PlaylistCommand.h"
#include "app/AppDelegate.h"

namespace tessel::cli {

QString RelinkCommand::summary() const {
    return QStringLiteral(
        "Point the dead tracks of a playlist at their music files in a folder, found by exact "
        "artist, title and album.");
}

QList<Flag> RelinkCommand::toolFlags() const {
    return {
        {"--choose", "DIR",
         "the folder the music is in now (searched at any depth); without it the folder chooser "
         "counts as cancelled",
         nullptr},
    };
}

QList<Flag> RelinkCommand::sharedFlags() const {
    return playlistOnlyFlags();
}

void RelinkCommand::perform(AppDelegate& delegate) const {
    delegate.performFix();
}

QString RelinkCommand::synopsis() const {
    return QStringLiteral("--choose DIR [--playlist NAME|ID] [OPTIONS]");
}

QString RelinkCommand::writesHelp() const {
    return QStringLiteral(
        "It works on a library playlist (--playlist, default: the first). A dead track that\n"
        "exactly one file matches gets that file as its location; with several candidates\n"
        "none is chosen (they are logged). Without --apply nothing is changed: the new\n"
        "locations are listed. Re-linking keeps the track, its playlist entries, rating and\n"
        "play count.");
}

}  // namespace tessel::cli
