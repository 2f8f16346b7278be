#include "CapitalizeCommand.h"

#include "FlagSteps.h"
#include "app/AppDelegate.h"
#include "tags/TagCatalogue.h"

namespace tessel::cli {

namespace {

// By the number of the case rule.
const QList<QStringList> kMethods{
    {"title"}, {"upper"}, {"lower"}, {"words"}, {"sentence", "proper"}};

}  // namespace

QString CapitalizeCommand::summary() const {
    return QStringLiteral("Change the letter case of one text tag of the tracks.");
}

QList<Flag> CapitalizeCommand::toolFlags() const {
    return {
        {"--tag", "TAG", "the tag to change, by identifier or name (default: name)",
         [](const QString& text) {
             return tagStep("--tag", "selectedTag", catalogue::tags(), text);
         }},
        {"--method", "METHOD",
         "title (small words lowered), upper, lower, words (each capitalised) or sentence "
         "(first letter only); default: title",
         [](const QString& text) {
             return choiceStep("--method", "selectedCapitalizationMethod", kMethods, text);
         }},
    };
}

void CapitalizeCommand::perform(AppDelegate& delegate) const {
    delegate.performCapitalization();
}

}  // namespace tessel::cli
