// The numeric tag changer's run for the controller: the library's selection read and written
// on a worker thread, and what ended the run, with no exception let out of the worker.
#pragma once

#include "itunes/ITunes.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"
#include "support/TesselError.h"
#include "tools/NumericTagChanger.h"

#include <QVariant>

#include <optional>

namespace tessel {

struct NumericOutcome {
    bool selectionRead = false;        // false: reading the selection itself failed
    int selected = 0;                  // the tracks in the selection
    std::optional<TesselError> error;  // what stopped the run; none when it ran to its end
};

/// Runs the tool (validated) over the library's selection. Never throws: an error is kept in
/// the outcome, and the tracks written before it stay written.
NumericOutcome runNumeric(const NumericTagChanger& tool,
                          const itunes::ApplicationProvider& application, ProgressSink& progress);

/// The alert for a run that an error stopped; none for a run that reached its end.
std::optional<AlertRequest> numericStoppedAlert(const NumericOutcome& outcome);

/// The number field as the tool takes it: absent when the field is empty or holds no number.
std::optional<double> enteredNumber(const QVariant& field);

}  // namespace tessel
