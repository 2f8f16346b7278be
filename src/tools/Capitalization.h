// The Capitalization tool: one of five case rules applied to one text tag of every gathered
// track, proposing a change wherever the value's case would change.
#pragma once

#include "Collection.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <optional>

namespace tessel {

class Capitalization {
  public:
    /// The case rules, by the number of selectedCapitalizationMethod.
    enum Method : int {
        kTitleCase = 0,
        kUpperCase = 1,
        kLowerCase = 2,
        kWordCapitalisation = 3,
        kProperCase = 4,
    };

    struct Options {
        int selectedTag = 0;                   // index into the text tags
        int selectedCapitalizationMethod = 0;  // a Method
    };

    explicit Capitalization(Options options);

    /// The checks on the main thread; the first alert that stops the tool, or none.
    std::optional<AlertRequest> validate();

    /// The background collection (thread-safe, const). Tracks without a location or without
    /// a value for the tag are left out.
    Collection collect(const TrackGatherer& gather, ProgressSink& progress) const;

    /// The tool's "No Changes" alert.
    static AlertRequest noChangesAlert();

    /// The value after a case rule; a number outside the five rules leaves it unchanged.
    static QString applyRule(int method, const QString& value);

  private:
    Options options_;
};

}  // namespace tessel
