#include "StatsWriter.h"

#include "CollectChanges.h"
#include "tags/PlayStats.h"
#include "tags/TagValue.h"

namespace tessel {

namespace {

const QString kRating = QStringLiteral("rating");
const QString kPlays = QStringLiteral("playedCount");

qint64 numberOf(const QVariant& value) {
    return isAbsent(value) ? 0 : value.toLongLong();
}

}  // namespace

std::optional<QString> StatsWriter::proposal(const QVariant& rating, const QVariant& plays,
                                             const QString& fileText) {
    const filetags::PlayStats held = filetags::playStatsFromText(fileText);
    filetags::PlayStats wanted = held;
    if (numberOf(rating) > 0)
        wanted.rating = int(std::min<qint64>(numberOf(rating), 100));
    if (numberOf(plays) > 0)
        wanted.playCount = numberOf(plays);
    if (wanted == held)
        return std::nullopt;
    return filetags::playStatsText(wanted);
}

Collection StatsWriter::collect(const TrackGatherer& gather, ProgressSink& progress) const {
    const auto propose = [](const MusicTrack& track, const QVariantMap& values, Collection& found) {
        const QVariant held = values.value(kPlayStatsTag);
        const std::optional<QString> text =
            proposal(values.value(kRating), values.value(kPlays), valueText(held));
        if (!text)
            return;
        const std::optional<QString> path = track.location();
        if (!path || !filetags::holdsPlayStats(*path)) {
            passOver(found.passedOver, QStringLiteral("file whose format holds no rating"),
                     QStringLiteral("files whose format holds no rating"));
            return;
        }
        found.records.append(changeOf(track, values, kPlayStatsTag, held, *text));
    };
    return collectChanges(gather, progress, {kRating, kPlays, kPlayStatsTag}, propose,
                          FileNeed::Required);
}

AlertRequest StatsWriter::noChangesAlert() {
    return okAlert(QStringLiteral("No Changes"),
                   QStringLiteral("The files of the tracks you've selected already hold their "
                                  "ratings and play counts, or the tracks have none."));
}

}  // namespace tessel
