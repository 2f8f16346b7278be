// The Data Mover: swaps the values of two tags of every gathered track, or copies a portion of
// the source value into the target tag (replacing it, or joined to it with a delimiter).
#pragma once

#include "Collection.h"
#include "Regex.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QString>

#include <optional>

namespace tessel {

class DataMover {
  public:
    enum Action : int { kSwap = 0, kCopy = 1 };
    /// Which part of the source value is copied.
    enum Portion : int {
        kWhole = 0,
        kFirstCharacters = 1,        // the first n characters
        kExceptFirstCharacters = 2,  // everything after the first n characters
        kMatches = 3,                // the text of every match of the expression, joined
    };
    /// Where the portion goes.
    enum Placement : int { kReplace = 0, kAppend = 1, kPrepend = 2 };

    struct Options {
        int selectedAction = kSwap;
        int selectedTag = 0;        // source: index into all tags (text, integer, cover)
        int selectedTargetTag = 0;  // target: index into the text tags
        int selectedPortion = kWhole;
        QString portionString;  // n of the first-characters portions, read as an integer
        QString searchString;   // the expression of the matches portion (ICU syntax)
        bool caseInsensitive = false;
        int selectedOption = kReplace;  // a Placement
        QString delimiterString;        // between target and portion when joining
    };

    explicit DataMover(Options options);

    /// The checks on the main thread; the first alert that stops the tool, or none. Compiles
    /// the expression of the matches portion for collect().
    std::optional<AlertRequest> validate();

    /// The background collection (thread-safe, const); call it after validate() passed.
    /// Tracks without a location, without a source value or without a target value are left
    /// out. A swap proposes two partner records per track, the source tag's first, each showing
    /// the value it will write (a number tag the number its text reads as); a track whose text
    /// is no whole number for the number tag it would go into is passed over. A copy proposes
    /// one record.
    Collection collect(const TrackGatherer& gather, ProgressSink& progress) const;

    /// The tool's "No Changes" alert.
    static AlertRequest noChangesAlert();

  private:
    static void proposeSwap(const MusicTrack& track, const QVariantMap& values,
                            const QString& source, const QString& target, Collection& found);
    QString portion(const QString& source) const;
    QString placed(const QString& target, const QString& portion) const;
    int portionLength() const;

    Options options_;
    std::optional<Regex> regex_;
};

}  // namespace tessel
