#include "SizeCalculator.h"

#include "support/FormattedString.h"
#include "tags/TagValue.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessel {

namespace {

// A size cut toward zero to a 32-bit integer; beyond that range (a broken duration) it stops
// at the limit instead of wrapping into nonsense.
double wholeKilobytes(double kilobytes) {
    if (std::isnan(kilobytes))
        return 0;
    return std::clamp(std::trunc(kilobytes), double(std::numeric_limits<qint32>::min()),
                      double(std::numeric_limits<qint32>::max()));
}

float durationOf(const QVariant& value) {
    if (isAbsent(value))
        return 0;
    const float seconds = value.toFloat();
    return std::isfinite(seconds) ? seconds : 0;
}

}  // namespace

void SizeEstimate::add(float duration, qint32 bitrate) {
    const qint32 lower = std::min(bitrate, qint32(target));
    const double seconds = duration;
    ++tracks;
    bitrateSum += bitrate;
    downConvertedBitrateSum += lower;
    currentKilobytes += wholeKilobytes(bitrate * 0.125 * seconds);
    allConvertedKilobytes += wholeKilobytes(target * 0.125 * seconds);
    downConvertedKilobytes += wholeKilobytes(lower * 0.125 * seconds);
}

double SizeEstimate::averageBitrate() const {
    return tracks > 0 ? bitrateSum / tracks : 0;
}

double SizeEstimate::averageDownConvertedBitrate() const {
    return tracks > 0 ? downConvertedBitrateSum / tracks : 0;
}

const QList<int>& SizeCalculator::bitrates() {
    static const QList<int> list{128, 192, 256};
    return list;
}

SizeCalculator::SizeCalculator(Options options) : options_(options) {}

std::optional<AlertRequest> SizeCalculator::validate() const {
    if (options_.selectedBitrate < 0 || options_.selectedBitrate >= bitrates().size())
        return okAlert(QStringLiteral("Invalid Bitrate"),
                       QStringLiteral("You need to choose a bitrate of 128, 192 or 256 kbps."));
    return std::nullopt;
}

int SizeCalculator::targetBitrate() const {
    return bitrates().value(options_.selectedBitrate, bitrates().first());
}

SizeCalculator::Result SizeCalculator::estimate(const TrackGatherer& gather,
                                                ProgressSink& progress) const {
    Result result;
    result.estimate.target = targetBitrate();
    const std::optional<GatheredTracks> gathered = gather();
    if (!gathered)
        return result;
    result.gathered = true;
    const QStringList tags{QStringLiteral("name"), QStringLiteral("duration"),
                           QStringLiteral("bitRate")};
    const auto count = static_cast<int>(gathered->tracks.size());
    for (int i = 0; i < count; ++i) {
        try {
            const QVariantMap values = gathered->tracks.at(i).valuesForTags(tags);
            progress.setProgress(formattedString(QStringLiteral("%i/%i - %@"), i + 1, count,
                                                 valueText(values.value(tags.at(0)))));
            result.estimate.add(durationOf(values.value(tags.at(1))),
                                intValue(values.value(tags.at(2))));
        } catch (const TesselError& error) {
            qWarning().noquote() << error.description();
            result.stoppedBy = error;
            break;
        }
    }
    return result;
}

AlertRequest SizeCalculator::resultAlert(const SizeEstimate& estimate) {
    const QString format = QStringLiteral(
        "These files are currently occupying approximately %.2f MB with an average bitrate of "
        "%.1f kbps.\n\nThese files would occupy approximately %.2f MB (on an average bitrate of "
        "%.1f kbps) when converting higher bitrate files down to %i kbps (option in iTunes).\n\n"
        "These files would occupy approximately %.2f MB when converting them all to %i kbps "
        "(even if they are currently smaller).");
    return okAlert(
        resultTitle(),
        formattedString(format, SizeEstimate::megabytes(estimate.currentKilobytes),
                        estimate.averageBitrate(),
                        SizeEstimate::megabytes(estimate.downConvertedKilobytes),
                        estimate.averageDownConvertedBitrate(), estimate.target,
                        SizeEstimate::megabytes(estimate.allConvertedKilobytes), estimate.target));
}

}  // namespace tessel
