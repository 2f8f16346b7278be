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
    /// True once the user asked to stop a run that can be stopped; safe from any thread. A
    /// computation that can stop looks at it between items and leaves everything as it was.
    virtual bool cancelled() const { return false; }
};

}  // namespace tessel
