#include "DataMover.h"

#include "CollectChanges.h"
#include "foundation/StringHelpers.h"
#include "support/FormattedString.h"
#include "support/TesselError.h"
#include "tags/TagCatalogue.h"
#include "tags/TagValue.h"

#include <QRegularExpression>

namespace tessel {

namespace {

const QString kInvalidPatternTitle = QStringLiteral("Invalid RegExp Pattern");
const QString kInvalidPatternMessage = QStringLiteral(
    "The Regexp you've entered is invalid. Click on the Help icon in the lower left corner to "
    "learn more about the ICU Regexp syntax.");

bool withinList(int index, const QStringList& list) {
    return index >= 0 && index < list.size();
}

// The number a text is, when it is nothing but one (spaces around it aside) and fits in 32
// bits; an empty text is the number 0, which number tags store for "none".
std::optional<qint32> wholeNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint32 value = trimmed.toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

}  // namespace

DataMover::DataMover(Options options) : options_(std::move(options)) {}

std::optional<AlertRequest> DataMover::validate() {
    if (!withinList(options_.selectedTag, catalogue::allTags()) ||
        !withinList(options_.selectedTargetTag, catalogue::tags())) {
        return okAlert(QStringLiteral("Invalid Tag"),
                       QStringLiteral("You need to select a source and a target tag to use the "
                                      "Data Mover."));
    }
    const bool copying = options_.selectedAction != kSwap;
    regex_.reset();
    if (copying && options_.selectedPortion == kMatches) {
        regex_ = Regex::compile(options_.searchString, options_.caseInsensitive);
        if (!regex_)
            return okAlert(kInvalidPatternTitle, kInvalidPatternMessage);
    }
    const bool counted = options_.selectedPortion == kFirstCharacters ||
                         options_.selectedPortion == kExceptFirstCharacters;
    if (copying && counted && portionLength() <= 0) {
        return okAlert(QStringLiteral("Invalid Data"),
                       QStringLiteral("You have to enter a positive number into Tag Portion "
                                      "field to use the '(Except) First Characters' Tag Portion "
                                      "Option."));
    }
    return std::nullopt;
}

Collection DataMover::collect(const TrackGatherer& gather, ProgressSink& progress) const {
    if (options_.selectedAction != kSwap && options_.selectedPortion == kMatches && !regex_)
        throw TesselError(kInvalidPatternTitle, kInvalidPatternMessage);

    const QString source = catalogue::allTags().at(options_.selectedTag);
    const QString target = catalogue::tags().at(options_.selectedTargetTag);
    const auto propose = [&](const MusicTrack& track, const QVariantMap& values,
                             Collection& found) {
        const QVariant sourceValue = values.value(source);
        const QVariant targetValue = values.value(target);
        if (isAbsent(sourceValue) || isAbsent(targetValue))
            return;
        if (options_.selectedAction == kSwap) {
            proposeSwap(track, values, source, target, found);
            return;
        }
        // Integer source tags take part as their decimal text.
        const QString targetText = valueText(targetValue);
        const QString moved = placed(targetText, portion(stringValue(sourceValue)));
        if (moved != targetText)
            found.records.append(changeOf(track, values, target, targetValue, moved));
    };
    return collectChanges(gather, progress, {source, target}, propose, FileNeed::Required);
}

// Two records that are applied or left together: one writes the target's value into the
// source tag, the other the source's value into the target tag. A number tag takes the number
// the text reads as; a text that does not read wholly as a number would be lost there, so the
// track is passed over instead of half swapped.
void DataMover::proposeSwap(const MusicTrack& track, const QVariantMap& values,
                            const QString& source, const QString& target, Collection& found) {
    const QString sourceText = stringValue(values.value(source));
    const QVariant targetValue = values.value(target);
    const QString targetText = valueText(targetValue);
    if (targetText == sourceText)
        return;
    QVariant intoSource = targetText;
    if (catalogue::integerTags().contains(source)) {
        const std::optional<qint32> number = wholeNumber(targetText);
        if (!number) {
            passOver(
                found.passedOver,
                formattedString(QStringLiteral("track whose %@ is no whole number to swap "
                                               "with its %@"),
                                catalogue::readableName(target), catalogue::readableName(source)),
                formattedString(QStringLiteral("tracks whose %@ is no whole number to swap "
                                               "with their %@"),
                                catalogue::readableName(target), catalogue::readableName(source)));
            return;
        }
        intoSource = qint64(*number);
    }
    const int first = int(found.records.size());
    found.records.append(changeOf(track, values, source, sourceText, intoSource));
    found.records.append(changeOf(track, values, target, targetValue, sourceText));
    found.records[first].partner = first + 1;
    found.records[first + 1].partner = first;
}

AlertRequest DataMover::noChangesAlert() {
    return okAlert(QStringLiteral("No Changes"),
                   QStringLiteral("The Data Move Pattern you've entered doesn't lead to any "
                                  "changes in the tracks you've selected."));
}

QString DataMover::portion(const QString& source) const {
    switch (options_.selectedPortion) {
        case kFirstCharacters:
            return clamp(source, portionLength());
        case kExceptFirstCharacters:
            return source.size() > portionLength() ? source.mid(portionLength()) : QString();
        case kMatches:
            return regex_->concatenatedMatches(source);
        default:
            return source;
    }
}

QString DataMover::placed(const QString& target, const QString& portion) const {
    switch (options_.selectedOption) {
        case kAppend:
            return target + options_.delimiterString + portion;
        case kPrepend:
            return portion + options_.delimiterString + target;
        default:
            return portion;
    }
}

int DataMover::portionLength() const {
    return intValue(options_.portionString);
}

}  // namespace tessel
