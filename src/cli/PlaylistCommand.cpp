#include "PlaylistCommand.h"

#include "FlagSteps.h"
#include "app/AppDelegate.h"
#include "tags/TagCatalogue.h"

namespace tessel::cli {

namespace {

// By the number of the condition.
const QList<QStringList> kConditions{
    {"is", "equals"},     {"is-not"},     {"contains"},         {"not-contains"},
    {"begins", "starts"}, {"ends"},       {"regex", "matches"}, {"longer"},
    {"shorter"},          {"more-lines"}, {"fewer-lines"},      {"greater"},
    {"smaller", "less"},
};

const QList<QStringList> kActions{{"add"}, {"remove"}};

Step targetStep(const QString& text) {
    return [text](AppDelegate& delegate) {
        delegate.setProperty(
            "selectedPlaylistActionPlaylist",
            playlistIndex(QStringLiteral("--target"), text, delegate.editablePlaylists(),
                          delegate.editablePlaylistIds()));
    };
}

}  // namespace

QList<Flag> playlistOnlyFlags() {
    QList<Flag> flags;
    for (const Flag& flag : commonFlags()) {
        if (flag.name != u"--folder" && flag.name != u"--selection")
            flags.append(flag);
    }
    return flags;
}

QString PlaylistCommand::summary() const {
    return QStringLiteral(
        "Add the tracks of a playlist that meet a condition to another playlist, or remove "
        "them from theirs.");
}

QList<Flag> PlaylistCommand::toolFlags() const {
    return {
        {"--tag", "TAG", "the tag tested, by identifier or name, cover included (default: name)",
         [](const QString& text) {
             return tagStep("--tag", "selectedTag", catalogue::allTags(), text);
         }},
        {"--condition", "CONDITION",
         choiceNames(kConditions).replace(u'|', QStringLiteral(", ")) +
             " (default: contains); the length, line and number "
             "conditions compare with the number in --text",
         [](const QString& text) {
             return choiceStep("--condition", "selectedCondition", kConditions, text);
         }},
        {"--text", "TEXT", "the condition text, or its number",
         [](const QString& text) { return setTo("conditionString", text); }},
        {"--case-sensitive", "", "letter case must match",
         [](const QString&) { return setTo("caseInsensitive", false); }},
        {"--action", "add|remove", "add the matching tracks to --target (default) or remove them",
         [](const QString& text) {
             return choiceStep("--action", "selectedPlaylistAction", kActions, text);
         }},
        {"--target", "NAME|ID",
         "the editable playlist to add to: its persistent ID, or the one playlist of that name",
         targetStep},
        {"--trash", "", "with remove: move the files of the removed tracks to the Trash",
         [](const QString&) { return setTo("moveTrash", true); }},
    };
}

QList<Flag> PlaylistCommand::sharedFlags() const {
    return playlistOnlyFlags();
}

void PlaylistCommand::perform(AppDelegate& delegate) const {
    delegate.performPlaylist();
}

QString PlaylistCommand::synopsis() const {
    return QStringLiteral("[--playlist NAME|ID] [OPTIONS]");
}

QString PlaylistCommand::writesHelp() const {
    return QStringLiteral(
        "It works on a library playlist (--playlist, default: the first). Without --apply\n"
        "nothing is changed: the matching tracks are listed. With --apply a track the target\n"
        "playlist holds already is not added again.");
}

}  // namespace tessel::cli
