#include "CollectChanges.h"

#include "support/FormattedString.h"
#include "support/TesselError.h"
#include "tags/TagValue.h"

#include <QDebug>

namespace tessel {

namespace {

// A library track without a file: dead when it is a file track, else a stream or the like.
void passOverFileless(const MusicTrack& track, QList<PassedOver>& passedOver) {
    if (track.isLibraryTrack() && track.track()->className() == itunes::kFileTrackClass)
        passOver(passedOver, QStringLiteral("track whose file is missing"),
                 QStringLiteral("tracks whose files are missing"));
    else
        passOver(passedOver, QStringLiteral("track without a file of its own"),
                 QStringLiteral("tracks without a file of their own"));
}

}  // namespace

Collection collectChanges(const TrackGatherer& gather, ProgressSink& progress,
                          const QStringList& tags, const ProposeFn& propose, FileNeed need) {
    Collection result;
    const std::optional<GatheredTracks> gathered = gather();
    if (!gathered)
        return result;
    result.gathered = true;
    result.passedOver = gathered->passedOver;

    QStringList toRead{QStringLiteral("name"), QStringLiteral("artist")};
    for (const QString& tag : tags) {
        if (!toRead.contains(tag))
            toRead.append(tag);
    }
    const QString location = QStringLiteral("location");
    if (need == FileNeed::Required && !toRead.contains(location))
        toRead.append(location);
    const QList<MusicTrack>& tracks = gathered->tracks;
    const auto count = static_cast<int>(tracks.size());
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        const MusicTrack& track = tracks.at(i);
        try {
            const QVariantMap values = track.valuesForTags(toRead);
            progress.setProgress(formattedString(QStringLiteral("%i/%i - %@"), i + 1, count,
                                                 valueText(values.value(QStringLiteral("name")))));
            if (need == FileNeed::Required && isAbsent(values.value(location))) {
                passOverFileless(track, result.passedOver);
                continue;
            }
            propose(track, values, result);
        } catch (const TesselError& error) {
            qWarning().noquote() << error.description();
            result.stoppedBy = error;
            break;
        }
    }
    return result;
}

Collection collectNewTexts(const TrackGatherer& gather, ProgressSink& progress, const QString& tag,
                           const TextTransform& transform, FileNeed need) {
    const auto propose = [&](const MusicTrack& track, const QVariantMap& values,
                             Collection& found) {
        const QVariant value = values.value(tag);
        if (isAbsent(value))
            return;
        const QString text = valueText(value);
        const std::optional<QString> changed = transform(text);
        if (changed && *changed != text)
            found.records.append(changeOf(track, values, tag, value, *changed));
    };
    return collectChanges(gather, progress, {tag}, propose, need);
}

ChangeRecord changeOf(const MusicTrack& track, const QVariantMap& values, const QString& tag,
                      const QVariant& oldValue, const QVariant& newValue) {
    return tagChange(track, valueText(values.value(QStringLiteral("name"))),
                     valueText(values.value(QStringLiteral("artist"))), tag, oldValue, newValue);
}

}  // namespace tessel
