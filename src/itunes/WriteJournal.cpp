#include "WriteJournal.h"

#include "TrackStore.h"
#include "tags/FileTags.h"
#include "tags/TagValue.h"

#include <QFileInfo>

#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace tessel::itunes::journal {

namespace {

// Written entries beyond this many are dropped, oldest first.
constexpr qint64 kKeptEntries = 100000;

// This process counts as running: another of its threads may be writing right now.
bool writerRuns(qint64 pid) {
    return pid == ::getpid() || (pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM));
}

void setState(sql::Database& db, qint64 entry, const char* state) {
    sql::Statement statement(db, "UPDATE write_journal SET state = ? WHERE id = ?");
    statement.bind(1, QString::fromLatin1(state)).bind(2, entry);
    statement.run();
}

struct Pending {
    qint64 entry;
    qint64 trackId;
    QString tag;
    QVariant newValue;
};

QList<Pending> pendingOfEndedWriters(sql::Database& db) {
    sql::Statement statement(
        db,
        "SELECT id, track_id, tag, new_value, writer FROM write_journal WHERE state = "
        "'pending' ORDER BY id");
    QList<Pending> pending;
    while (statement.step()) {
        if (!writerRuns(statement.integer(4)))
            pending.append({statement.integer(0), statement.integer(1), statement.text(2),
                            statement.value(3)});
    }
    return pending;
}

// Settles one entry in a transaction of its own; a line for the log when it cannot.
QString settle(sql::Database& db, const Pending& pending) {
    sql::Transaction transaction(db);
    sql::Statement still(db, "SELECT 1 FROM write_journal WHERE id = ? AND state = 'pending'");
    still.bind(1, pending.entry);
    const TrackField* field = trackField(pending.tag);
    if (!still.step() || !field)
        return {};
    const auto stored = trackstore::kindAndLocation(db, pending.trackId);
    const QVariantMap inFile = stored.location && QFileInfo(*stored.location).isFile()
                                   ? filetags::readForLibrary(*stored.location)
                                   : QVariantMap();
    QString problem;
    if (inFile.isEmpty()) {
        setState(db, pending.entry, "failed");
        problem = QStringLiteral(
                      "The change of “%1” of the track %2 to “%3” could not be checked in "
                      "its file “%4”; the library keeps it.")
                      .arg(pending.tag)
                      .arg(pending.trackId)
                      .arg(valueText(pending.newValue), stored.location.value_or(QString()));
    } else {
        const QVariant value = inFile.value(field->key);
        trackstore::setValue(db, pending.trackId, *field, value);
        if (valueText(value) == valueText(pending.newValue))
            setState(db, pending.entry, "written");
        else
            forget(db, pending.entry);
    }
    transaction.commit();
    return problem;
}

}  // namespace

qint64 recordPending(sql::Database& db, qint64 trackId, const TrackField& field,
                     const QVariant& oldValue, const QVariant& newValue) {
    sql::Statement statement(db,
                             "INSERT INTO write_journal (track_id, tag, old_value, new_value, "
                             "writer) VALUES (?, ?, ?, ?, ?)");
    statement.bind(1, trackId)
        .bind(2, field.key)
        .bind(3, oldValue)
        .bind(4, newValue)
        .bind(5, qint64(::getpid()));
    statement.run();
    return db.lastInsertId();
}

void markWritten(sql::Database& db, qint64 entry) {
    setState(db, entry, "written");
    sql::Statement prune(db, "DELETE FROM write_journal WHERE id <= ? AND state <> 'pending'");
    prune.bind(1, entry - kKeptEntries);
    prune.run();
}

void forget(sql::Database& db, qint64 entry) {
    sql::Statement statement(db, "DELETE FROM write_journal WHERE id = ?");
    statement.bind(1, entry);
    statement.run();
}

QStringList reconcile(sql::Database& db) {
    QStringList problems;
    for (const Pending& pending : pendingOfEndedWriters(db)) {
        const QString problem = settle(db, pending);
        if (!problem.isEmpty())
            problems.append(problem);
    }
    return problems;
}

}  // namespace tessel::itunes::journal
