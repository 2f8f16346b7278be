// Where a computation reports the detail line of the progress sheet. The controller's sink
// forwards each line to the main thread without waiting; tests record the lines.
#pragma once

#include <QString>

namespace tessel {

class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    /// Sets the detail line; safe from any thread, never blocks on the interface.
    virtual void setProgress(const QString& detail) = 0;
};

}  // namespace tessel
