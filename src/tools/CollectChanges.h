// The collection loop the tag tools share: gather the tracks, read each one once, report the
// progress line, and let the tool propose records for it.
#pragma once

#include "Collection.h"
#include "changes/ProgressSink.h"

#include <QStringList>
#include <QVariantMap>

#include <functional>

namespace tessel {

/// Proposes the records for one track from the values read for it (appending to records).
/// It may throw a TesselError to end the loop like a read error does.
using ProposeFn = std::function<void(const MusicTrack& track, const QVariantMap& values,
                                     QList<ChangeRecord>& records)>;

/// For each gathered track, in order: reads "name", "artist" and `tags` in one read (one parse
/// of a file), sets the progress detail "%i/%i - %@" (position from 1, count, title) and calls
/// propose. A TesselError while reading or proposing ends the loop (it is logged and kept in
/// the result's stoppedBy); the records found before it stay. Tools that need the location list
/// "location" in tags.
Collection collectChanges(const TrackGatherer& gather, ProgressSink& progress,
                          const QStringList& tags, const ProposeFn& propose);

}  // namespace tessel
