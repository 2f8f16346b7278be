// The collection loop the tag tools share: gather the tracks, read each one once, report the
// progress line, and let the tool propose records for it.
#pragma once

#include "Collection.h"
#include "support/ProgressSink.h"

#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace tessel {

/// Proposes the records for one track from the values read for it, appending them to the
/// collection's records (or counting the track as passed over). It may throw a TesselError to
/// end the loop like a read error does.
using ProposeFn =
    std::function<void(const MusicTrack& track, const QVariantMap& values, Collection& found)>;

/// A new text for a tag's value; absent when there is none (no change).
using TextTransform = std::function<std::optional<QString>(const QString& value)>;

/// Whether a tool looks only at tracks that have a file.
enum class FileNeed { Any, Required };

/// For each gathered track, in order: reads "name", "artist" and `tags` in one read (one parse
/// of a file), sets the progress detail "%i/%i - %@" (position from 1, count, title) and calls
/// propose. The files of a folder are parsed on worker threads from the moment the gathering
/// finds them, while the folder is still being listed, a bounded number of tracks ahead of the
/// loop; propose, the progress lines and the log keep the track order and start once the list
/// is whole. With
/// FileNeed::Required a track without a file (a dead track, a stream) is passed over and counted. A
/// TesselError while reading or proposing ends the loop (it is logged and kept in the result's
/// stoppedBy); the records found before it stay. The user stopping the run (the sink's cancelled())
/// ends the gathering or the loop before the next track, marked in the result; no further read
/// starts.
Collection collectChanges(const TrackGatherer& gather, ProgressSink& progress,
                          const QStringList& tags, const ProposeFn& propose,
                          FileNeed need = FileNeed::Any);

/// The collection of the tools that turn one text tag into a new text: every track whose value
/// for tag is present gets a record where transform gives another text.
Collection collectNewTexts(const TrackGatherer& gather, ProgressSink& progress, const QString& tag,
                           const TextTransform& transform, FileNeed need);

/// A tag change of the track whose title and artist are those read in values.
ChangeRecord changeOf(const MusicTrack& track, const QVariantMap& values, const QString& tag,
                      const QVariant& oldValue, const QVariant& newValue);

}  // namespace tessel
