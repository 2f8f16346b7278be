// The Search & Replace tool: replaces text inside one text tag of every gathered track,
// literally or with an ICU regular expression, and proposes a change wherever the value would
// change.
#pragma once

#include "Collection.h"
#include "Regex.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QString>

#include <optional>

namespace tessel {

class SearchReplace {
  public:
    struct Options {
        int selectedTag = 0;    // index into the eight text tags
        QString searchString;   // what to find; an expression when useRegular is on
        QString replaceString;  // the replacement (null counts as empty); with useRegular
                                // a template: $0-$9 insert the match and its groups, a
                                // backslash takes the next character literally
        bool caseInsensitive = true;
        bool useRegular = false;
    };

    explicit SearchReplace(Options options);

    /// The checks, in order, on the main thread: the tag, a non-empty search text, and with
    /// useRegular an expression that compiles (kept for collect()). The first alert, or none.
    std::optional<AlertRequest> validate();

    /// The background collection (thread-safe, const; validate() first). Tracks without a
    /// location or without a value for the tag are skipped. An error, such as a read error or
    /// an expression that ran into its time limit, ends the loop (see Collection::stoppedBy).
    Collection collect(const TrackGatherer& gather, ProgressSink& progress) const;

    /// The value with every match replaced, scanning left to right without overlaps. Throws
    /// the time-limit error of Regex for a runaway expression.
    QString replaced(const QString& value) const;

    /// The tool's "No Changes" alert.
    static AlertRequest noChangesAlert();

  private:
    Options options_;
    std::optional<Regex> regex_;
};

}  // namespace tessel
