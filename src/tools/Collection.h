// What a tag tool's background collection hands back: the records it found and whether the
// track list was gathered at all (when gathering failed it already showed its own alert, and
// the tool's "No Changes" alert is not shown).
#pragma once

#include "changes/ChangeRecord.h"
#include "model/MusicTrack.h"
#include "model/TrackGathering.h"
#include "support/TesselError.h"

#include <QList>

#include <functional>
#include <optional>

namespace tessel {

/// Gathers the tracks of the chosen source; absent when gathering failed (the controller has
/// told the user why).
using TrackGatherer = std::function<std::optional<GatheredTracks>()>;

struct Collection {
    QList<ChangeRecord> records;
    bool gathered = false;
    /// The error that ended the loop before the last track, if one did; the records found
    /// before it are kept.
    std::optional<TesselError> stoppedBy = std::nullopt;
    /// The user stopped the run: the records are only those found before, and are discarded.
    bool cancelled = false;
    /// The tracks passed over without a look, counted by why.
    QList<PassedOver> passedOver = {};
};

}  // namespace tessel
