// The encoding converter: re-reads the text of one tag under another character encoding. Each
// value is turned into bytes with the "from" encoding and read back with the "to" encoding,
// which repairs text once decoded with the wrong character set.
#pragma once

#include "Collection.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <optional>

namespace tessel {

class EncodingConverter {
  public:
    struct Options {
        int selectedTag = 0;           // index into the text tags
        int selectedEncodingFrom = 0;  // a TextEncoding: turns the current text into bytes
        int selectedEncodingTo = 0;    // a TextEncoding: reads the bytes back as text
    };

    explicit EncodingConverter(Options options);

    /// The checks on the main thread; the first alert that stops the tool, or none.
    std::optional<AlertRequest> validate();

    /// The background collection (thread-safe, const); call it after validate() passed.
    /// Tracks without a location are converted too; a value that is absent, or whose bytes
    /// are not valid in the "to" encoding, gives no change.
    Collection collect(const TrackGatherer& gather, ProgressSink& progress) const;

    /// The tool's "No Changes" alert.
    static AlertRequest noChangesAlert();

    /// The value re-read under the two encodings; absent when decoding fails.
    static std::optional<QString> converted(const QString& value, int from, int to);

  private:
    Options options_;
};

}  // namespace tessel
