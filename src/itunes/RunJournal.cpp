#include "RunJournal.h"

namespace tessel::itunes {

namespace {

QString membershipText(RunRecord::Membership membership) {
    switch (membership) {
        case RunRecord::Membership::Added:
            return QStringLiteral("added");
        case RunRecord::Membership::Removed:
            return QStringLiteral("removed");
        case RunRecord::Membership::None:
            break;
    }
    return {};
}

RunRecord::Membership membershipOf(const QString& text) {
    if (text == u"added")
        return RunRecord::Membership::Added;
    if (text == u"removed")
        return RunRecord::Membership::Removed;
    return RunRecord::Membership::None;
}

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

void insertRecords(sql::Database& db, qint64 run, const QList<RunRecord>& records) {
    sql::Statement insert(db,
                          "INSERT INTO run_records (run_id, position, track_id, path, title, "
                          "artist, tag, old_value, new_value, playlist_id, membership) VALUES "
                          "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const RunRecord& record : records) {
        insert.bind(1, run)
            .bind(2, record.position)
            .bind(3, record.trackId)
            .bind(4, textOrNull(record.path))
            .bind(5, record.title)
            .bind(6, record.artist)
            .bind(7, textOrNull(record.tag))
            .bind(8, record.oldValue)
            .bind(9, record.newValue)
            .bind(10, textOrNull(record.playlistId))
            .bind(11, textOrNull(membershipText(record.membership)));
        insert.run();
        insert.reset();
    }
}

const char* const kSummaryColumns =
    "SELECT r.id, r.time, r.tool, r.count, r.undone, (SELECT count(*) FROM run_records w WHERE "
    "w.run_id = r.id AND w.state = 'written') FROM runs r ";

RunSummary summaryAt(const sql::Statement& row) {
    RunSummary summary;
    summary.id = row.integer(0);
    summary.time = QDateTime::fromString(row.text(1), Qt::ISODateWithMs);
    summary.tool = row.text(2);
    summary.count = int(row.integer(3));
    summary.undone = row.integer(4) != 0;
    summary.written = int(row.integer(5));
    return summary;
}

QList<RunSummary> summaries(sql::Database& db, const QByteArray& where, qint64 parameter) {
    sql::Statement statement(db, (QByteArray(kSummaryColumns) + where).constData());
    if (where.contains('?'))
        statement.bind(1, parameter);
    QList<RunSummary> found;
    while (statement.step())
        found.append(summaryAt(statement));
    return found;
}

// The id of the newest run that pruning drops, with every older one; absent when all stay.
std::optional<qint64> firstDropped(sql::Database& db, int keptRuns, qint64 keptRecords) {
    sql::Statement statement(db, "SELECT id, count FROM runs ORDER BY id DESC");
    int newer = 0;
    qint64 records = 0;
    while (statement.step()) {
        records += statement.integer(1);
        if (newer >= keptRuns && records > keptRecords)
            return statement.integer(0);
        ++newer;
    }
    return std::nullopt;
}

void pruneIn(sql::Database& db, int keptRuns, qint64 keptRecords) {
    const std::optional<qint64> dropped = firstDropped(db, keptRuns, keptRecords);
    if (!dropped)
        return;
    // The records first, in one statement, rather than one cascade per run.
    sql::Statement records(db, "DELETE FROM run_records WHERE run_id <= ?");
    records.bind(1, *dropped);
    records.run();
    sql::Statement runs(db, "DELETE FROM runs WHERE id <= ?");
    runs.bind(1, *dropped);
    runs.run();
}

}  // namespace

RunJournal::RunJournal(ConnectionPtr connection) : connection_(std::move(connection)) {}

qint64 RunJournal::begin(const QString& tool, const QList<RunRecord>& records) {
    return connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        pruneIn(db, kKeptRuns, kKeptRecords);
        sql::Statement run(db, "INSERT INTO runs (tool, count) VALUES (?, ?)");
        run.bind(1, tool).bind(2, qint64(records.size()));
        run.run();
        const qint64 id = db.lastInsertId();
        insertRecords(db, id, records);
        transaction.commit();
        return id;
    });
}

void RunJournal::addRecord(qint64 run, const RunRecord& record) {
    connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        insertRecords(db, run, {record});
        sql::Statement count(db, "UPDATE runs SET count = count + 1 WHERE id = ?");
        count.bind(1, run);
        count.run();
        transaction.commit();
    });
}

void RunJournal::markWritten(qint64 run, const QList<int>& positions) {
    if (positions.isEmpty())
        return;
    connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        sql::Statement mark(
            db, "UPDATE run_records SET state = 'written' WHERE run_id = ? AND position = ?");
        for (int position : positions) {
            mark.bind(1, run).bind(2, position);
            mark.run();
            mark.reset();
        }
        transaction.commit();
    });
}

void RunJournal::markUndone(qint64 run) {
    connection_->locked([&](sql::Database& db) {
        sql::Statement mark(db, "UPDATE runs SET undone = 1 WHERE id = ?");
        mark.bind(1, run);
        mark.run();
    });
}

QList<RunSummary> RunJournal::runs() const {
    return connection_->locked(
        [](sql::Database& db) { return summaries(db, "ORDER BY r.id DESC", 0); });
}

std::optional<RunSummary> RunJournal::run(qint64 id) const {
    const QList<RunSummary> found = connection_->locked(
        [id](sql::Database& db) { return summaries(db, "WHERE r.id = ?", id); });
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

std::optional<RunSummary> RunJournal::lastUndoable() const {
    const QList<RunSummary> found = connection_->locked([](sql::Database& db) {
        return summaries(db, "WHERE r.undone = 0 ORDER BY r.id DESC LIMIT 1", 0);
    });
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

QList<RunRecord> RunJournal::records(qint64 run) const {
    return connection_->locked([run](sql::Database& db) {
        sql::Statement statement(db,
                                 "SELECT position, track_id, path, title, artist, tag, "
                                 "old_value, new_value, playlist_id, membership, state FROM "
                                 "run_records WHERE run_id = ? ORDER BY position, id");
        statement.bind(1, run);
        QList<RunRecord> records;
        while (statement.step()) {
            RunRecord record;
            record.position = int(statement.integer(0));
            if (!statement.isNull(1))
                record.trackId = statement.integer(1);
            record.path = statement.text(2);
            record.title = statement.text(3);
            record.artist = statement.text(4);
            record.tag = statement.text(5);
            record.oldValue = statement.value(6);
            record.newValue = statement.value(7);
            record.playlistId = statement.text(8);
            record.membership = membershipOf(statement.text(9));
            record.state = statement.text(10) == u"written" ? RunRecord::State::Written
                                                            : RunRecord::State::Pending;
            records.append(record);
        }
        return records;
    });
}

void RunJournal::prune(int keptRuns, qint64 keptRecords) {
    connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        pruneIn(db, keptRuns, keptRecords);
        transaction.commit();
    });
}

QString RunJournal::playlistOfEntry(qint64 itemId) const {
    return connection_->locked([itemId](sql::Database& db) {
        sql::Statement statement(db,
                                 "SELECT p.persistent_id FROM playlist_items i JOIN playlists p "
                                 "ON p.id = i.playlist_id WHERE i.id = ?");
        statement.bind(1, itemId);
        return statement.step() ? statement.text(0) : QString();
    });
}

}  // namespace tessel::itunes
