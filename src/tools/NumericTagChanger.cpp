#include "NumericTagChanger.h"

#include "foundation/StringHelpers.h"
#include "support/FormattedString.h"
#include "tags/TagCatalogue.h"
#include "tags/TagValue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessel {

namespace {

constexpr qint64 kMin = std::numeric_limits<qint32>::min();
constexpr qint64 kMax = std::numeric_limits<qint32>::max();

}  // namespace

NumericTagChanger::NumericTagChanger(Options options) : options_(options) {}

std::optional<AlertRequest> NumericTagChanger::validate() {
    const int tag = options_.selectedNumericTag;
    if (tag < 0 || tag >= catalogue::integerTags().size()) {
        return okAlert(QStringLiteral("Invalid Tag"),
                       QStringLiteral("You need to select a tag to use the Numeric Tag "
                                      "Changer."));
    }
    if (!options_.numericString || !std::isfinite(*options_.numericString)) {
        return okAlert(QStringLiteral("Invalid Data"),
                       QStringLiteral("You have to enter a number to use the Numeric Tag "
                                      "Changer."));
    }
    // Tags hold 32-bit numbers: a larger one would be cut to the limit without a word.
    const double whole = std::trunc(*options_.numericString);
    if (whole < double(kMin) || whole > double(kMax)) {
        return okAlert(QStringLiteral("Invalid Data"),
                       QStringLiteral("You have to enter a number from -2147483648 to 2147483647 "
                                      "to use the Numeric Tag Changer."));
    }
    return std::nullopt;
}

void NumericTagChanger::run(const std::function<QList<itunes::TrackPtr>()>& selectedTracks,
                            ProgressSink& progress) const {
    if (!options_.numericString)  // validate() refuses this; never write a made-up number
        return;
    const QString key = catalogue::integerTags().at(options_.selectedNumericTag);
    const qint32 number = integerNumber(*options_.numericString);
    const QList<itunes::TrackPtr> tracks = selectedTracks();
    const auto count = static_cast<int>(tracks.size());
    for (int i = 0; i < count; ++i) {
        const itunes::Track& track = *tracks.at(i);
        progress.setProgress(formattedString(QStringLiteral("%i/%i - %@"), i + 1, count,
                                             valueText(track.property(QStringLiteral("name")))));
        const qint32 current = options_.selectedNumeric == kSet ? 0 : intValue(track.property(key));
        const qint32 value = changedValue(options_.selectedNumeric, current, number);
        tracks.at(i)->setProperty(key, QVariant::fromValue(qint64(value)));
    }
}

qint32 NumericTagChanger::changedValue(int change, qint32 current, qint32 number) {
    qint64 wide = number;
    if (change == kAdd)
        wide = qint64(current) + number;
    else if (change != kSet)
        wide = qint64(current) - number;
    return static_cast<qint32>(std::clamp(wide, kMin, kMax));
}

qint32 NumericTagChanger::integerNumber(double number) {
    if (std::isnan(number))
        return 0;
    return static_cast<qint32>(std::clamp(std::trunc(number), double(kMin), double(kMax)));
}

}  // namespace tessel
