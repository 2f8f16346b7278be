// Dead tracks: library tracks of a music file whose file the library cannot find. Dead-track
// removal proposes to take them out of the playlist they were gathered from; re-linking uses
// the same test to find the tracks it repairs.
#pragma once

#include "Collection.h"
#include "changes/ChangeRecord.h"
#include "model/MusicTrack.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <optional>

namespace tessel {

/// True for a library track of the file kind for which the library reports no location. A
/// stream or any other kind is never dead, nor is a track whose location is reported, and a
/// file of a folder is not a library track. Library errors propagate.
bool isDead(const MusicTrack& track);

class DeadTrackRemoval {
  public:
    /// The tool has no options: nothing to check.
    std::optional<AlertRequest> validate() { return std::nullopt; }

    /// A membership record for every dead track, in playlist order, with the progress line
    /// "%i/%i - %@". A library error ends the loop; the records found before it stay.
    Collection collect(const TrackGatherer& gather, ProgressSink& progress) const;

    /// The change list's flags: membership, remove, no trash.
    static ChangeList shape();

    /// "No Dead Tracks".
    static AlertRequest noChangesAlert();
};

}  // namespace tessel
