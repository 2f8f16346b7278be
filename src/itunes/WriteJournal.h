// The write journal of the library: a change that a library track writes into its file is
// recorded, with the value it replaces, before the file is touched, and marked once the file
// holds it. A process killed in between leaves the entry pending; the next process to open the
// library settles it from what the file holds, so library and file never disagree silently.
#pragma once

#include "Sqlite.h"
#include "TrackFields.h"

#include <QStringList>
#include <QVariant>

namespace tessel::itunes::journal {

/// Records a pending change of a track's field and returns its entry.
qint64 recordPending(sql::Database& db, qint64 trackId, const TrackField& field,
                     const QVariant& oldValue, const QVariant& newValue);
/// The file holds the change.
void markWritten(sql::Database& db, qint64 entry);
/// The file refused the change and the library was set back: the change never happened.
void forget(sql::Database& db, qint64 entry);

/// Settles the pending entries of processes no longer running: each track's field is set to
/// what its file holds (the entry marked written when that is the new value, dropped when it
/// is the old one). An entry whose file cannot be read is marked failed; the returned lines
/// describe those, for the log.
QStringList reconcile(sql::Database& db);

}  // namespace tessel::itunes::journal
