#include "WriteStatsCommand.h"

#include "app/AppDelegate.h"

namespace tessel::cli {

QString WriteStatsCommand::summary() const {
    return QStringLiteral("Write the library's ratings and play counts into the music files.");
}

void WriteStatsCommand::perform(AppDelegate& delegate) const {
    delegate.performWriteStats();
}

QString WriteStatsCommand::writesHelp() const {
    return QStringLiteral(
        "Without --apply nothing is written: the files that lack their track's values are\n"
        "listed. It writes FMPS_RATING (0.0-1.0: 80 is 0.8) and FMPS_PLAYCOUNT as Vorbis\n"
        "comments, MP4 items or ID3v2 TXXX frames, and in MP3s a POPM frame of its own (stars\n"
        "1-5 as 1, 64, 128, 196, 255); other programs' POPM frames stay. A rating or play count\n"
        "of 0 is not written. The library's tracks only: a folder has no ratings.");
}

}  // namespace tessel::cli
