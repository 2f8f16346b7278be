#include "DataMover.h"

#include "CollectChanges.h"
#include "foundation/StringHelpers.h"
#include "model/TagCatalogue.h"
#include "model/TagValue.h"
#include "support/TesselError.h"

namespace tessel {

namespace {

const QString kInvalidPatternTitle = QStringLiteral("Invalid RegExp Pattern");
const QString kInvalidPatternMessage = QStringLiteral(
    "The Regexp you've entered is invalid. Click on the Help icon in the lower left corner to "
    "learn more about the ICU Regexp syntax.");

bool withinList(int index, const QStringList& list) {
    return index >= 0 && index < list.size();
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
                             QList<ChangeRecord>& records) {
        const QVariant sourceValue = values.value(source);
        const QVariant targetValue = values.value(target);
        if (isAbsent(values.value(QStringLiteral("location"))) || isAbsent(sourceValue) ||
            isAbsent(targetValue))
            return;
        const auto change = [&](const QString& tag, const QVariant& from, const QVariant& to) {
            records.append(tagChange(track, valueText(values.value(QStringLiteral("name"))),
                                     valueText(values.value(QStringLiteral("artist"))), tag, from,
                                     to));
        };
        // Integer source tags take part as their decimal text.
        const QString sourceText = stringValue(sourceValue);
        const QString targetText = valueText(targetValue);
        if (options_.selectedAction == kSwap) {
            if (targetText != sourceText) {
                change(source, sourceText, targetValue);
                change(target, targetValue, sourceText);
            }
            return;
        }
        const QString moved = placed(targetText, portion(sourceText));
        if (moved != targetText)
            change(target, targetValue, moved);
    };
    return collectChanges(gather, progress, {source, target, QStringLiteral("location")}, propose);
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
