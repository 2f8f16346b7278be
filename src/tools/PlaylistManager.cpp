#include "PlaylistManager.h"

#include "CollectChanges.h"
#include "foundation/IcuText.h"
#include "foundation/StringHelpers.h"
#include "tags/TagCatalogue.h"
#include "tags/TagValue.h"

#include <unicode/locid.h>

namespace tessel {

namespace {

// The full Unicode lower-case mapping of the whole text ("ẞ" and "İ" included), not a
// character-by-character one.
QString lowered(const QString& text) {
    icu::UnicodeString icu = toIcu(text);
    icu.toLower(icu::Locale::getRoot());
    return fromIcu(icu);
}

bool usesNumber(int condition) {
    return condition >= PlaylistManager::kLongerThan &&
           condition <= PlaylistManager::kFewerLinesThan;
}

}  // namespace

PlaylistManager::PlaylistManager(Options options) : options_(std::move(options)) {}

std::optional<AlertRequest> PlaylistManager::validate() {
    if (options_.selectedTag < 0 || options_.selectedTag >= catalogue::allTags().size()) {
        return okAlert(QStringLiteral("Invalid Tag"),
                       QStringLiteral("You need to select a tag to use the Playlist Manager."));
    }
    if (options_.selectedCondition < 0 || options_.selectedCondition >= kConditionCount) {
        return okAlert(QStringLiteral("Invalid Condition"),
                       QStringLiteral("You need to select a condition to use the Playlist "
                                      "Manager."));
    }
    if (options_.conditionString.isNull())
        options_.conditionString = QStringLiteral("");
    number_ = intValue(options_.conditionString);
    if (usesNumber(options_.selectedCondition) && number_ == 0) {
        return okAlert(QStringLiteral("Invalid Data"),
                       QStringLiteral("You have to enter a positive number into the condition "
                                      "field to use this condition."));
    }
    regex_.reset();
    if (options_.selectedCondition == kMatches) {
        regex_ = Regex::compile(options_.conditionString, options_.caseInsensitive);
        if (!regex_) {
            return okAlert(QStringLiteral("Invalid RegExp Pattern"),
                           QStringLiteral("The Regexp you've entered is invalid. Click on the "
                                          "Help icon in the lower left corner to learn more "
                                          "about the ICU Regexp syntax."));
        }
    }
    // Adding needs a playlist to add to; without one the run could only fail when applied.
    if (options_.selectedPlaylistAction == 0 && options_.targetPlaylistId.isEmpty()) {
        return okAlert(QStringLiteral("No Target Playlist"),
                       QStringLiteral("You need to choose the playlist the matching tracks "
                                      "should be added to. Smart playlists cannot be chosen."));
    }
    return std::nullopt;
}

Collection PlaylistManager::collect(const TrackGatherer& gather, ProgressSink& progress) const {
    const QString tag = catalogue::allTags().at(options_.selectedTag);
    const auto propose = [&](const MusicTrack& track, const QVariantMap& values,
                             Collection& found) {
        if (!matches(valueText(values.value(tag))))
            return;
        found.records.append(ChangeRecord{true, track,
                                          valueText(values.value(QStringLiteral("name"))),
                                          valueText(values.value(QStringLiteral("artist"))),
                                          QString(), QVariant(), QVariant(), -1});
    };
    return collectChanges(gather, progress, {tag}, propose);
}

bool PlaylistManager::matches(const QString& value) const {
    if (options_.selectedCondition <= kMatches)
        return textCondition(value);
    return numberCondition(value);
}

bool PlaylistManager::textCondition(const QString& value) const {
    const QString& text = options_.conditionString;
    const bool fold = options_.caseInsensitive;
    const Qt::CaseSensitivity sensitivity = fold ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString v = fold ? lowered(value) : value;
    const QString t = fold ? lowered(text) : text;
    switch (options_.selectedCondition) {
        case kIs:
            return v == t;
        case kIsNot:
            return v != t;
        // An empty condition text is found in no text.
        case kContains:
            return !text.isEmpty() && value.contains(text, sensitivity);
        case kDoesNotContain:
            return text.isEmpty() || !value.contains(text, sensitivity);
        case kBeginsWith:
            return !text.isEmpty() && v.startsWith(t);
        case kEndsWith:
            return !text.isEmpty() && v.endsWith(t);
        default:
            return regex_ && regex_->matchesAnywhere(value);
    }
}

bool PlaylistManager::numberCondition(const QString& value) const {
    switch (options_.selectedCondition) {
        case kLongerThan:
            return value.size() > number_;
        case kShorterThan:
            return value.size() < number_;
        case kMoreLinesThan:
            return lines(value).size() > number_;
        case kFewerLinesThan:
            return lines(value).size() < number_;
        case kGreaterThan:
            return intValue(value) > number_;
        default:
            return intValue(value) < number_;
    }
}

ChangeList PlaylistManager::shape() const {
    ChangeList list;
    list.playlist = true;
    list.remove = options_.selectedPlaylistAction;
    list.trash = options_.moveTrash;
    return list;
}

AlertRequest PlaylistManager::noChangesAlert() {
    return okAlert(QStringLiteral("No Changes"),
                   QStringLiteral("The conditions you've entered don't lead to any changes in "
                                  "your playlists."));
}

}  // namespace tessel
