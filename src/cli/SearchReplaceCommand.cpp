#include "SearchReplaceCommand.h"

#include "FlagSteps.h"
#include "app/AppDelegate.h"
#include "tags/TagCatalogue.h"

namespace tessel::cli {

namespace {

Step presetStep(const QString& text) {
    bool ok = false;
    const int index = text.toInt(&ok);
    constexpr int kPresets = 6;  // the entries of the preset menu, 0 leaving the texts alone
    if (!ok || index < 0 || index >= kPresets)
        throw UsageError{
            QStringLiteral("--preset: '%1' is not one of 0-%2").arg(text).arg(kPresets - 1)};
    return [index](AppDelegate& delegate) { delegate.presetClicked(index); };
}

}  // namespace

QString SearchReplaceCommand::summary() const {
    return QStringLiteral("Replace text in one text tag of the tracks.");
}

QList<Flag> SearchReplaceCommand::toolFlags() const {
    return {
        {"--tag", "TAG", "the tag to change, by identifier or name (default: name)",
         [](const QString& text) {
             return tagStep("--tag", "selectedTag", catalogue::tags(), text);
         }},
        {"--search", "TEXT", "the text or expression to find",
         [](const QString& text) { return setTo("searchString", text); }},
        {"--replace", "TEXT", "the replacement ($0-$9 insert groups with --regex)",
         [](const QString& text) { return setTo("replaceString", text); }},
        {"--regex", "", "the search is an ICU regular expression",
         [](const QString&) { return setTo("useRegular", true); }},
        {"--case-sensitive", "", "letter case must match",
         [](const QString&) { return setTo("caseInsensitive", false); }},
        {"--preset", "N", "fill search and replacement from preset N and turn on --regex",
         presetStep},
    };
}

void SearchReplaceCommand::perform(AppDelegate& delegate) const {
    delegate.performSearchReplace();
}

}  // namespace tessel::cli
