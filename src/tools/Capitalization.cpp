#include "Capitalization.h"

#include "CollectChanges.h"
#include "foundation/CaseRules.h"
#include "tags/TagCatalogue.h"
#include "tags/TagValue.h"

namespace tessel {

Capitalization::Capitalization(Options options) : options_(options) {}

std::optional<AlertRequest> Capitalization::validate() {
    const int tag = options_.selectedTag;
    if (tag < 0 || tag >= catalogue::tags().size()) {
        return okAlert(QStringLiteral("Invalid Tag"),
                       QStringLiteral("You need to select a tag to use the Capitalization tool."));
    }
    return std::nullopt;
}

Collection Capitalization::collect(const TrackGatherer& gather, ProgressSink& progress) const {
    const int method = options_.selectedCapitalizationMethod;
    return collectNewTexts(
        gather, progress, catalogue::tags().at(options_.selectedTag),
        [method](const QString& value) { return std::optional(applyRule(method, value)); },
        FileNeed::Required);
}

AlertRequest Capitalization::noChangesAlert() {
    return okAlert(
        QStringLiteral("No Changes"),
        QStringLiteral("The Capitalization Pattern you've entered doesn't lead to any changes "
                       "in the tracks you've selected."));
}

QString Capitalization::applyRule(int method, const QString& value) {
    switch (method) {
        case kTitleCase:
            return titlecaseString(value);
        case kUpperCase:
            return value.toUpper();
        case kLowerCase:
            return value.toLower();
        case kWordCapitalisation:
            return capitalizedString(value);
        case kProperCase:
            return propercaseString(value);
        default:
            return value;
    }
}

}  // namespace tessel
