#include "CollectChanges.h"

#include "support/FormattedString.h"
#include "support/OrderedJobs.h"
#include "support/TesselError.h"
#include "tags/TagValue.h"

#include <QDebug>

#include <algorithm>
#include <memory>

namespace tessel {

namespace {

// How many parsed tracks may wait for the loop: enough to keep every worker busy, few enough
// that a long list never holds more than a handful of results.
constexpr int kReadWindow = 64;

// The values of the tracks, one read each, in list order. The files of a folder are parsed
// ahead on worker threads; a library track is read on the loop's own thread, where a read of
// the library costs little and its connection is used one request at a time anyway.
class TrackReads {
  public:
    TrackReads(const QList<MusicTrack>& tracks, QStringList tags)
        : tracks_(tracks), tags_(std::move(tags)) {
        const bool files = std::none_of(tracks.begin(), tracks.end(),
                                        [](const MusicTrack& t) { return t.isLibraryTrack(); });
        if (files && tracks.size() > 1)
            ahead_ = std::make_unique<OrderedJobs<QVariantMap>>(workerCount(), kReadWindow);
    }

    // The values of the next track; throws what its read threw.
    QVariantMap next() {
        if (!ahead_)
            return tracks_.at(taken_++).valuesForTags(tags_);
        while (added_ < tracks_.size() && !ahead_->full()) {
            const MusicTrack& track = tracks_.at(added_++);
            ahead_->add([&track, this] { return track.valuesForTags(tags_); });
        }
        ++taken_;
        return *ahead_->take();
    }

  private:
    const QList<MusicTrack>& tracks_;
    const QStringList tags_;
    qsizetype added_ = 0;
    qsizetype taken_ = 0;
    // Last, so that it is destroyed first: no further read starts, those under way finish.
    std::unique_ptr<OrderedJobs<QVariantMap>> ahead_;
};

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
    TrackReads reads(tracks, toRead);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        const MusicTrack& track = tracks.at(i);
        try {
            const QVariantMap values = reads.next();
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
