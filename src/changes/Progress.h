// The progress protocol of long operations: open the progress sheet with a title, update its
// detail line from any thread, close it. Closing counts one completed operation per version.
#pragma once

#include "support/ProgressSink.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <atomic>

namespace tessel {

class Presenter;

class Progress : public QObject, public ProgressSink {
    Q_OBJECT
    Q_PROPERTY(QString title READ title NOTIFY titleChanged)
    Q_PROPERTY(QString detail READ detail NOTIFY detailChanged)

  public:
    /// The sheet is shown and hidden through presenter, which must outlive this object.
    explicit Progress(Presenter& presenter, QObject* parent = nullptr);

    QString title() const { return title_; }
    QString detail() const { return detail_; }
    /// Where the run is when its detail line starts with a position and a count ("13810/20000
    /// - …"): the position, and the count; both 0 while the count is unknown.
    int step() const { return step_; }
    int steps() const { return steps_; }

    /// Main thread: shows the sheet with this title and an empty detail line. A cancellable
    /// run offers the user to stop it.
    void begin(const QString& title, bool cancellable = false);
    /// Any thread: schedules the detail line on the main thread without waiting; updates land
    /// in the order they were scheduled, within a few milliseconds (a fast worker's updates
    /// are applied in batches, so it does not wake the main thread once per track). Updates
    /// still queued when this object goes are dropped.
    void setProgress(const QString& detail) override;
    /// Main thread: applies the updates still waiting, hides the sheet and adds 1 to the usage
    /// counter of the running version.
    void end();

    /// Whether the run under way can be stopped.
    bool cancellable() const { return cancellable_; }
    /// Main thread: asks a cancellable run to stop; does nothing for other runs.
    void cancel();
    bool cancelled() const override { return cancelled_; }

    /// "tessellib_%@_usages" for the running short version: each version counts from 0.
    static QString usageCounterKey();

  signals:
    void titleChanged();
    void detailChanged();

  private:
    void setDetail(const QString& detail);
    void applyPending();
    void readStep();

    Presenter& presenter_;
    QMutex pendingMutex_;
    QStringList pending_;  // details scheduled and not yet applied, oldest first
    bool armed_ = false;   // a batch is queued or paced: new details only join pending_
    QTimer pacing_;
    QString title_;
    QString detail_;
    int step_ = 0;
    int steps_ = 0;
    bool cancellable_ = false;
    std::atomic<bool> cancelled_ = false;
};

}  // namespace tessel
