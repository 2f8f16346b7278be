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
#include <type_traits>

namespace tessel {

/// Gathers the tracks of the chosen source; absent when gathering failed (the controller has
/// told the user why). Made from a function that gathers the whole list, or from one that also
/// tells of each track as it is found (TrackFound), which lets a tool start on the first
/// tracks of a large folder while the rest are still being listed.
class TrackGatherer {
  public:
    using Whole = std::function<std::optional<GatheredTracks>()>;
    using OneByOne = std::function<std::optional<GatheredTracks>(const TrackFound& found)>;

    TrackGatherer() = default;
    template <typename Gather, typename = std::enable_if_t<
                                   std::is_invocable_r_v<std::optional<GatheredTracks>, Gather>>>
    TrackGatherer(Gather gather) : oneByOne_(wholeList(Whole(std::move(gather)))) {}

    static TrackGatherer oneByOne(OneByOne gather) {
        TrackGatherer gatherer;
        gatherer.oneByOne_ = std::move(gather);
        return gatherer;
    }

    /// The whole list.
    std::optional<GatheredTracks> operator()() const { return oneByOne_({}); }

    /// The list, found hearing of each of its tracks in order (see TrackFound) before the list
    /// is given; when found stops the gathering, the tracks found so far.
    std::optional<GatheredTracks> operator()(const TrackFound& found) const {
        return oneByOne_(found);
    }

  private:
    // A whole list told track by track once it is gathered.
    static OneByOne wholeList(Whole gather) {
        return [gather = std::move(gather)](const TrackFound& found) {
            std::optional<GatheredTracks> gathered = gather();
            if (gathered)
                gathered = tellEachTrack(std::move(*gathered), found);
            return gathered;
        };
    }

    OneByOne oneByOne_ = [](const TrackFound&) { return std::optional<GatheredTracks>(); };
};

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
