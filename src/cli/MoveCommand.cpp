#include "MoveCommand.h"

#include "FlagSteps.h"
#include "app/AppDelegate.h"
#include "tags/TagCatalogue.h"

namespace tessel::cli {

namespace {

const QList<QStringList> kActions{{"swap"}, {"copy"}};
const QList<QStringList> kPortions{{"whole"}, {"first"}, {"except-first"}, {"regex"}};
const QList<QStringList> kPlacements{{"replace"}, {"append"}, {"prepend"}};

}  // namespace

QString MoveCommand::summary() const {
    return QStringLiteral("Swap two tags of the tracks, or copy part of one tag into another.");
}

QList<Flag> MoveCommand::toolFlags() const {
    return {
        {"--action", "ACTION", "swap the two tags, or copy into --to: swap or copy (default: swap)",
         [](const QString& text) {
             return choiceStep("--action", "selectedAction", kActions, text);
         }},
        {"--from", "TAG", "the source tag: any tag, numbers and the cover included (default: name)",
         [](const QString& text) {
             return tagStep("--from", "selectedTag", catalogue::allTags(), text);
         }},
        {"--to", "TAG", "the target tag, a text tag (default: name)",
         [](const QString& text) {
             return tagStep("--to", "selectedTargetTag", catalogue::tags(), text);
         }},
        {"--portion", "PORTION",
         "what is copied: whole, first (--count characters), except-first (all but those) or "
         "regex (the matches of --regex, joined); default: whole",
         [](const QString& text) {
             return choiceStep("--portion", "selectedPortion", kPortions, text);
         }},
        {"--count", "N", "the number of characters of the first and except-first portions",
         [](const QString& text) { return setTo("portionString", text); }},
        {"--regex", "EXPR", "the ICU regular expression of the regex portion",
         [](const QString& text) { return setTo("searchString", text); }},
        {"--case-sensitive", "", "the expression must match letter case",
         [](const QString&) { return setTo("caseInsensitive", false); }},
        {"--placement", "PLACEMENT",
         "replace the target, or append or prepend with --delimiter (default: replace)",
         [](const QString& text) {
             return choiceStep("--placement", "selectedOption", kPlacements, text);
         }},
        {"--delimiter", "TEXT", "put between target and portion when joining",
         [](const QString& text) { return setTo("delimiterString", text); }},
    };
}

void MoveCommand::perform(AppDelegate& delegate) const {
    delegate.performMove();
}

}  // namespace tessel::cli
