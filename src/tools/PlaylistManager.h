// The Playlist Manager: picks the tracks of a library playlist whose value of one tag meets one
// condition, and proposes to add them to another (editable) playlist or to remove them from
// theirs, the files of removed file tracks optionally moved to the Trash.
#pragma once

#include "Collection.h"
#include "Regex.h"
#include "changes/ChangeRecord.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QString>

#include <optional>

namespace tessel {

class PlaylistManager {
  public:
    /// The conditions, by the value of selectedCondition.
    enum Condition : int {
        kIs = 0,
        kIsNot,
        kContains,
        kDoesNotContain,
        kBeginsWith,
        kEndsWith,
        kMatches,
        kLongerThan,
        kShorterThan,
        kMoreLinesThan,
        kFewerLinesThan,
        kGreaterThan,
        kSmallerThan,
        kConditionCount
    };

    struct Options {
        int selectedTag = 0;                // index into allTags; "cover" tests for a picture
        int selectedCondition = kContains;  // a Condition
        QString conditionString;            // the condition text (null counts as empty)
        bool caseInsensitive = true;        // for the conditions up to kMatches
        int selectedPlaylistAction = 0;     // 0 adds to the target playlist, others remove
        QString targetPlaylistId;           // the persistent ID of the target playlist
        bool moveTrash = false;             // with remove: files go to the Trash
    };

    explicit PlaylistManager(Options options);

    /// The checks on the main thread, in order: the tag and the condition are ones the menus
    /// offer, a number for the length and line conditions ("Invalid Data"), an expression
    /// that compiles ("Invalid RegExp Pattern", kept for collect()), and for "add" a target
    /// playlist. The first alert, or none.
    std::optional<AlertRequest> validate();

    /// The background collection (thread-safe, const; validate() first): a membership record
    /// for every gathered track, in order, whose value meets the condition. An error while
    /// reading ends the loop; the records found before it stay (see Collection::stoppedBy).
    Collection collect(const TrackGatherer& gather, ProgressSink& progress) const;

    /// Whether a value text meets the condition (validate() first). Throws the time-limit
    /// error of Regex for a runaway expression.
    bool matches(const QString& value) const;

    /// The empty change list with the flags of this run: membership, remove, trash.
    ChangeList shape() const;

    /// The tool's "No Changes" alert.
    static AlertRequest noChangesAlert();

  private:
    bool textCondition(const QString& value) const;
    bool numberCondition(const QString& value) const;

    Options options_;
    qint32 number_ = 0;  // the integer value of the condition text
    std::optional<Regex> regex_;
};

}  // namespace tessel
