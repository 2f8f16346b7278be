// The numeric tag changer: sets one integer tag of the tracks selected in the library to a
// number, or raises or lowers it by that number. It writes each track at once; there is no
// change panel and no "No Changes" alert.
#pragma once

#include "itunes/ITunes.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QList>

#include <functional>
#include <optional>

namespace tessel {

class NumericTagChanger {
  public:
    /// What is done with the number, by the value of selectedNumeric; any other value
    /// subtracts.
    enum Change : int { kSet = 0, kAdd = 1, kSubtract = 2 };

    struct Options {
        int selectedNumericTag = 0;           // index into the ten integer tags
        int selectedNumeric = kSet;           // a Change
        std::optional<double> numericString;  // the number field; absent when it is empty
    };

    explicit NumericTagChanger(Options options);

    /// The checks on the main thread; the first alert that stops the tool, or none. A number
    /// that is not finite counts as no number.
    std::optional<AlertRequest> validate();

    /// Writes every selected track; progress "%i/%i - %@". Values are 32-bit integers: the
    /// number is truncated toward zero, an absent current value reads as 0, and a result
    /// beyond the 32-bit range is clamped to it. Every selected track is written, even when
    /// its value stays the same. A TesselError from the library ends the run at that track and
    /// is rethrown for the caller to report; the tracks before it stay written.
    void run(const std::function<QList<itunes::TrackPtr>()>& selectedTracks,
             ProgressSink& progress) const;

    /// The value to write over current by the change; computed in 64 bits, then clamped.
    static qint32 changedValue(int change, qint32 current, qint32 number);

    /// The entered number as a 32-bit integer: truncated toward zero, clamped to the range.
    static qint32 integerNumber(double number);

  private:
    Options options_;
};

}  // namespace tessel
