#include "CollectChanges.h"

#include "model/TagValue.h"
#include "support/FormattedString.h"
#include "support/TesselError.h"

#include <QDebug>

namespace tessel {

Collection collectChanges(const TrackGatherer& gather, ProgressSink& progress,
                          const QStringList& tags, const ProposeFn& propose) {
    Collection result;
    const std::optional<QList<MusicTrack>> tracks = gather();
    if (!tracks)
        return result;
    result.gathered = true;

    QStringList toRead{QStringLiteral("name"), QStringLiteral("artist")};
    for (const QString& tag : tags) {
        if (!toRead.contains(tag))
            toRead.append(tag);
    }
    const auto count = static_cast<int>(tracks->size());
    for (int i = 0; i < count; ++i) {
        const MusicTrack& track = tracks->at(i);
        try {
            const QVariantMap values = track.valuesForTags(toRead);
            progress.setProgress(formattedString(QStringLiteral("%i/%i - %@"), i + 1, count,
                                                 valueText(values.value(QStringLiteral("name")))));
            propose(track, values, result.records);
        } catch (const TesselError& error) {
            qWarning().noquote() << error.description();
            result.stoppedBy = error;
            break;
        }
    }
    return result;
}

}  // namespace tessel
