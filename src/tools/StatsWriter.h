// Writes the library's rating and play count of the chosen tracks into their files, in the
// forms other players read (FMPS_RATING and FMPS_PLAYCOUNT, and a POPM frame in MP3s), so a
// move to another player keeps them. A change panel record per file that does not hold them
// yet; the library itself is not changed.
#pragma once

#include "Collection.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QVariant>

#include <optional>

namespace tessel {

class StatsWriter {
  public:
    /// Nothing to check: the tool has no options.
    std::optional<AlertRequest> validate() const { return std::nullopt; }

    /// For each gathered library track with a file: a record of the tag kPlayStatsTag when the
    /// file does not hold its rating and play count yet. A rating of 0 (none) or a play count
    /// of 0 is not written, so a file's own values are never replaced by nothing. Files of a
    /// format that cannot hold them are passed over and counted.
    Collection collect(const TrackGatherer& gather, ProgressSink& progress) const;

    /// The text to write for a file holding fileText when the library has rating and plays;
    /// absent when the file holds them already or the library has neither.
    static std::optional<QString> proposal(const QVariant& rating, const QVariant& plays,
                                           const QString& fileText);

    static AlertRequest noChangesAlert();
};

}  // namespace tessel
