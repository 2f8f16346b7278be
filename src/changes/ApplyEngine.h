// Carrying out the checked records of a change list: tag changes written through MusicTrack,
// membership changes (add to or remove from a playlist) made on the music library. Before each
// track is touched a guard checks that it still looks as it did when the change was computed.
// These are plain synchronous functions; the controller runs them on a background thread.
#pragma once

#include "ChangeRecord.h"
#include "itunes/ITunes.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"
#include "support/TesselError.h"

#include <QString>

#include <optional>

namespace tessel {

struct ApplyResult {
    enum class Outcome {
        Finished,   // every checked record was carried out
        Cancelled,  // a guard failed: the track changed since the list was computed
        Stopped,    // an error stopped the run
        // the user stopped the run between two records
        Interrupted,
    };
    Outcome outcome = Outcome::Finished;
    int done = 0;                      // records written, or tracks added or removed
    QList<int> written;                // the list positions of those records, in order
    QString trackName;                 // the track the run was cancelled or stopped at
    std::optional<TesselError> error;  // what stopped the run
};

/// The playlist a membership list adds to: its persistent ID, and its name for messages.
struct TargetPlaylist {
    QString persistentId;
    QString name;
};

/// Tag changes, in list order. Each record counts toward the progress line "%i/%lu " when
/// unchecked, "%i/%lu %@" with the track's title when checked. A checked record reads the
/// track (artist, title, the tag), guards (artist, title and old value as text; absent reads
/// as the empty text; a value that an earlier record of the list wrote to the same track, in
/// any tag, is expected as written; a library track's file must still hold that old value of
/// the tag too), then writes the new value; a music file is opened once for all that, and a
/// library track is read, guarded and written in one write transaction of the library. A record
/// whose very change an earlier record made to the same track (a track listed twice) counts as done
/// without a second write. A failed guard cancels; a TesselError is logged ("failure %s %d") and
/// stops. Records written before either stay written. When the user stops the run (the sink's
/// cancelled()), the records being written are finished and no further one is started.
/// Records of different files are guarded and written on several threads at once; those of one
/// file (or of the library) keep their order, one at a time. The progress lines come in list
/// order, and the first failure in list order is the one reported: no record after it starts,
/// and any already under way finishes and counts in done, as every record written does.
ApplyResult applyTagChanges(const ChangeList& list, ProgressSink& progress);

/// Membership changes. First the target playlist is looked up by persistent ID (for removals
/// too) and
/// every checked record's track is resolved and guarded ("Preparation"), so a failed guard
/// changes nothing; then each track, with the line "%i/%lu - %@", is removed from the playlist
/// it was gathered from (its file moved to the trash first when the list's trash flag is set
/// and it is a file track) or added to the target unless it is in it already. A TesselError
/// (a track gone, the target playlist gone) is logged and stops the run. Stopped by the user,
/// the run changes nothing during preparation, and no further track once changing.
ApplyResult applyMembershipChanges(const ChangeList& list, itunes::Application& application,
                                   const TargetPlaylist& targetPlaylist, ProgressSink& progress);

/// Either of the above by the list's playlist flag; the library is opened only for
/// membership changes, and failing to open it stops the run.
ApplyResult applyChanges(const ChangeList& list, const itunes::ApplicationProvider& application,
                         const TargetPlaylist& targetPlaylist, ProgressSink& progress);

/// The text of the alert (titled with the application's name) of a cancelled run.
inline const QString kDoNotTouchMessage = QStringLiteral(
    "Please do not 'touch' iTunes while the operation is running. The operation "
    "had to be canceled.");

/// The alert for a stopped run: which track, why, and how many changes were made;
/// a tag the track cannot take ("Unsupported Tag") has its own message.
std::optional<AlertRequest> stoppedAlert(const ApplyResult& result, bool membership);

}  // namespace tessel
