#include "SearchReplace.h"

#include "CollectChanges.h"
#include "support/FormattedString.h"
#include "tags/TagCatalogue.h"
#include "tags/TagValue.h"

namespace tessel {

SearchReplace::SearchReplace(Options options) : options_(std::move(options)) {}

std::optional<AlertRequest> SearchReplace::validate() {
    if (options_.selectedTag < 0 || options_.selectedTag >= catalogue::tags().size()) {
        return okAlert(
            QStringLiteral("Invalid Tag"),
            QStringLiteral("You need to select a tag to use the Tag Search & Replace tool."));
    }
    if (options_.searchString.isEmpty()) {
        return okAlert(QStringLiteral("Empty Search String"),
                       QStringLiteral("You can't perform a Search/Replace operation without "
                                      "entering a search string."));
    }
    regex_.reset();
    if (options_.useRegular) {
        regex_ = Regex::compile(options_.searchString, options_.caseInsensitive);
        if (!regex_) {
            return okAlert(QStringLiteral("Invalid Search/Replace Pattern"),
                           QStringLiteral("The Search/Replace Regexp you've entered is invalid. "
                                          "Click on the Help icon in the lower left corner to "
                                          "learn more about the ICU Regexp syntax."));
        }
        // A template the expression cannot fill is refused now, not met track by track.
        if (const auto problem = regex_->replacementProblem(options_.replaceString)) {
            return okAlert(
                QStringLiteral("Invalid RegExp Pattern"),
                formattedString(QStringLiteral("The replacement “%@” cannot be used with this "
                                               "expression: %@ Click on the Help icon in the "
                                               "lower left corner to learn more about the ICU "
                                               "Regexp syntax."),
                                options_.replaceString, *problem));
        }
    }
    return std::nullopt;
}

Collection SearchReplace::collect(const TrackGatherer& gather, ProgressSink& progress) const {
    return collectNewTexts(
        gather, progress, catalogue::tags().at(options_.selectedTag),
        [this](const QString& value) { return std::optional(replaced(value)); },
        FileNeed::Required);
}

QString SearchReplace::replaced(const QString& value) const {
    // An absent replacement is the empty text to both replacements.
    if (regex_)
        return regex_->replaceAll(value, options_.replaceString);
    QString result = value;
    return result.replace(options_.searchString, options_.replaceString,
                          options_.caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

AlertRequest SearchReplace::noChangesAlert() {
    return okAlert(QStringLiteral("No Changes"),
                   QStringLiteral("The Search/Replace Pattern you've entered doesn't lead to any "
                                  "changes in the tracks you've selected."));
}

}  // namespace tessel
