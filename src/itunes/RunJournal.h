// The runs journal of the library: every apply of a change list is kept as a run (when, which
// tool, how many records) with its records (the track, the tag with its old and new value, or
// the playlist a track was added to or removed from), so that a run can be taken back later.
// The records are stored pending before any file is touched and marked written once the apply
// has made them; a run killed mid-way keeps pending records, and whoever reads them decides
// from the track's current value whether the run got to them.
#pragma once

#include "Connection.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace tessel::itunes {

/// One record of a run.
struct RunRecord {
    enum class Membership { None, Added, Removed };
    enum class State { Pending, Written };

    int position = 0;               // the record's row in the change list it came from
    std::optional<qint64> trackId;  // a track of the library; absent for a plain file
    QString path;                   // the file: a plain file's path, a library track's location
    QString title;                  // as the change panel showed them
    QString artist;
    QString tag;  // tag changes: the tag identifier
    QVariant oldValue;
    QVariant newValue;
    QString playlistId;  // membership changes: the playlist's persistent ID
    Membership membership = Membership::None;
    State state = State::Pending;
};

/// What the history shows of a run.
struct RunSummary {
    qint64 id = 0;   // the run's number, growing with every run
    QDateTime time;  // when it started
    QString tool;
    int count = 0;    // records journaled
    int written = 0;  // of them, marked written
    bool undone = false;
};

class RunJournal {
  public:
    /// How many runs and records pruning keeps at least: the newest kKeptRuns runs are kept
    /// whatever their size, and older ones as long as they and every newer run hold no more
    /// than kKeptRecords records.
    static constexpr int kKeptRuns = 50;
    static constexpr qint64 kKeptRecords = 100000;

    explicit RunJournal(ConnectionPtr connection);

    /// Prunes old runs, then stores a new run with its records (pending), all in one
    /// transaction; returns the run's number.
    qint64 begin(const QString& tool, const QList<RunRecord>& records);
    /// Adds a record (pending) to a run begun before, in one transaction with the run's count.
    void addRecord(qint64 run, const RunRecord& record);
    /// Marks written the records of the run at these change-list positions.
    void markWritten(qint64 run, const QList<int>& positions);
    /// The run was taken back; it is not offered for undo again.
    void markUndone(qint64 run);

    /// Every run kept, newest first.
    QList<RunSummary> runs() const;
    /// One run; absent when it is not (or no longer) kept.
    std::optional<RunSummary> run(qint64 id) const;
    /// The newest run not taken back yet; absent when there is none.
    std::optional<RunSummary> lastUndoable() const;
    /// The records of a run, in change-list order.
    QList<RunRecord> records(qint64 run) const;

    /// Drops the runs beyond what the limits keep (begin() calls it with the defaults).
    void prune(int keptRuns = kKeptRuns, qint64 keptRecords = kKeptRecords);

    /// The persistent ID of the playlist a playlist entry belongs to; empty when it is gone.
    QString playlistOfEntry(qint64 itemId) const;

    const ConnectionPtr& connection() const { return connection_; }

  private:
    ConnectionPtr connection_;
};

}  // namespace tessel::itunes
