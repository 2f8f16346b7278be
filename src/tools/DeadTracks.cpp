#include "DeadTracks.h"

#include "CollectChanges.h"
#include "tags/TagValue.h"

namespace tessel {

bool isDead(const MusicTrack& track) {
    if (!track.isLibraryTrack())
        return false;
    const itunes::TrackPtr object = track.track()->get();
    return object->className() == itunes::kFileTrackClass && !object->location();
}

Collection DeadTrackRemoval::collect(const TrackGatherer& gather, ProgressSink& progress) const {
    const auto propose = [](const MusicTrack& track, const QVariantMap& values, Collection& found) {
        if (!isAbsent(values.value(QStringLiteral("location"))) || !isDead(track))
            return;
        found.records.append(ChangeRecord{true, track,
                                          valueText(values.value(QStringLiteral("name"))),
                                          valueText(values.value(QStringLiteral("artist"))),
                                          QString(), QVariant(), QVariant(), -1});
    };
    return collectChanges(gather, progress, {QStringLiteral("location")}, propose);
}

ChangeList DeadTrackRemoval::shape() {
    ChangeList list;
    list.playlist = true;
    list.remove = 1;
    list.trash = false;
    return list;
}

AlertRequest DeadTrackRemoval::noChangesAlert() {
    return okAlert(QStringLiteral("No Dead Tracks"),
                   QStringLiteral("No dead tracks to remove were found in the selected playlist."));
}

}  // namespace tessel
