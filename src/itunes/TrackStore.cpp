#include "TrackStore.h"

#include "ITunes.h"
#include "foundation/StringHelpers.h"

#include <QFileInfo>

#include <cmath>
#include <string>

namespace tessel::itunes::trackstore {

namespace {

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

bool isDuration(const TrackField& field) {
    return field.key == u"duration";
}

// What a column stores for a value: text, or an integer (durations in milliseconds).
QVariant storedValue(const TrackField& field, const QVariant& value) {
    if (!field.integer)
        return value.isValid() && !value.isNull() ? stringValue(value) : QStringLiteral("");
    if (isDuration(field)) {
        const double seconds = value.toDouble();
        return std::isfinite(seconds) && seconds > 0 ? qint64(std::llround(seconds * 1000)) : 0;
    }
    return qint64(intValue(value));
}

std::string selectSql(const TrackField& field) {
    return std::string("SELECT ") + field.column + " FROM tracks WHERE id = ?";
}

std::string selectSql(const QList<const TrackField*>& fields, bool withEntry) {
    std::string sql = "SELECT kind, location";
    for (const TrackField* field : fields)
        sql += std::string(", ") + field->column;
    if (withEntry)
        sql += ", (SELECT track_id FROM playlist_items WHERE id = ?2)";
    return sql + " FROM tracks WHERE id = ?1";
}

// A stored value as a property gives it: durations in seconds.
QVariant readValue(const sql::Statement& statement, int column, const TrackField& field) {
    if (isDuration(field))
        return statement.integer(column) / 1000.0;
    if (field.integer)
        return statement.integer(column);
    return statement.text(column);
}

std::string updateSql(const TrackField& field) {
    return std::string("UPDATE tracks SET ") + field.column + " = ? WHERE id = ?";
}

// Parameters 1-3: persistent ID, kind, location; then one per field. A null field parameter
// stores the column's default for a new track and keeps an existing track's value. Plain
// INSERT and UPDATE statements: an upsert opens a statement savepoint on every run, which
// makes large imports several times slower.
std::string insertSql() {
    std::string columns = "persistent_id, kind, location";
    std::string values = "?1, ?2, ?3";
    int parameter = 4;
    for (const TrackField& field : trackFields()) {
        const std::string fallback = field.integer ? "0" : "''";
        columns += std::string(", ") + field.column;
        values += ", coalesce(?" + std::to_string(parameter++) + ", " + fallback + ")";
    }
    return "INSERT INTO tracks (" + columns + ") VALUES (" + values + ")";
}

std::string updateSql() {
    std::string updates = "kind = ?2, location = ?3";
    int parameter = 4;
    for (const TrackField& field : trackFields()) {
        const std::string column = field.column;
        updates +=
            ", " + column + " = coalesce(?" + std::to_string(parameter++) + ", " + column + ")";
    }
    return "UPDATE tracks SET " + updates + " WHERE persistent_id = ?1";
}

}  // namespace

void TrackRecord::set(const QString& key, const QVariant& value) {
    for (qsizetype i = 0; i < trackFields().size(); ++i) {
        if (trackFields().at(i).key == key)
            values[i] = value;
    }
}

TesselError trackGone() {
    return scriptingError(QStringLiteral("The track no longer exists in the music library."));
}

bool exists(sql::Database& db, qint64 id) {
    sql::CachedStatement statement(db, "SELECT 1 FROM tracks WHERE id = ?");
    statement->bind(1, id);
    return statement->step();
}

QVariant value(sql::Database& db, qint64 id, const TrackField& field) {
    sql::CachedStatement statement(db, selectSql(field));
    statement->bind(1, id);
    if (!statement->step())
        throw trackGone();
    return readValue(*statement, 0, field);
}

std::optional<StoredTrack> values(sql::Database& db, qint64 id,
                                  const QList<const TrackField*>& fields,
                                  std::optional<qint64> entry) {
    sql::CachedStatement statement(db, selectSql(fields, entry.has_value()));
    statement->bind(1, id);
    if (entry)
        statement->bind(2, *entry);
    if (!statement->step())
        return std::nullopt;
    StoredTrack track;
    track.kind = kindFromName(statement->text(0));
    if (!statement->isNull(1))
        track.location = statement->text(1);
    track.values.reserve(fields.size());
    for (qsizetype i = 0; i < fields.size(); ++i)
        track.values.append(readValue(*statement, int(i) + 2, *fields.at(i)));
    const int entryColumn = int(fields.size()) + 2;
    if (entry && !statement->isNull(entryColumn))
        track.entryTrack = statement->integer(entryColumn);
    return track;
}

void setValue(sql::Database& db, qint64 id, const TrackField& field, const QVariant& value) {
    sql::CachedStatement statement(db, updateSql(field));
    statement->bind(1, storedValue(field, value)).bind(2, id);
    statement->run();
    if (db.changes() == 0)
        throw trackGone();
}

KindAndLocation kindAndLocation(sql::Database& db, qint64 id) {
    sql::CachedStatement statement(db, "SELECT kind, location FROM tracks WHERE id = ?");
    statement->bind(1, id);
    if (!statement->step())
        throw trackGone();
    KindAndLocation result{kindFromName(statement->text(0)), std::nullopt};
    if (!statement->isNull(1))
        result.location = statement->text(1);
    return result;
}

void setLocation(sql::Database& db, qint64 id, const QString& location) {
    sql::Statement statement(db, "UPDATE tracks SET location = ? WHERE id = ?");
    statement.bind(1, location).bind(2, id);
    statement.run();
    if (db.changes() == 0)
        throw trackGone();
}

int moveLocation(sql::Database& db, const QString& from, const QString& to) {
    sql::Statement statement(db,
                             "UPDATE tracks SET location = ? WHERE location = ? AND kind = 'file'");
    statement.bind(1, to).bind(2, from);
    statement.run();
    return db.changes();
}

Upserter::Upserter(sql::Database& db)
    : db_(db),
      find_(db, "SELECT id, kind, location FROM tracks WHERE persistent_id = ?"),
      insert_(db, insertSql().c_str()),
      update_(db, updateSql().c_str()) {}

void Upserter::bindRecord(sql::Statement& statement, const TrackRecord& record) {
    statement.reset();
    statement.bind(1, record.persistentId).bind(2, kindName(record.kind)).bind(3, record.location);
    for (qsizetype i = 0; i < trackFields().size(); ++i) {
        const QVariant value = record.values.value(i);
        statement.bind(int(i) + 4,
                       value.isValid() ? storedValue(trackFields().at(i), value) : QVariant());
    }
}

Upserter::Result Upserter::upsert(TrackRecord record, bool keepLivingFile) {
    find_.reset();
    find_.bind(1, record.persistentId);
    const bool found = find_.step();
    const std::optional<qint64> existing = found ? std::optional(find_.integer(0)) : std::nullopt;
    // A file track that was pointed at a file that is there keeps it when the record's path
    // leads nowhere (an old export imported again after its dead tracks were re-linked).
    if (found && keepLivingFile && record.kind == TrackKind::File && !find_.isNull(2) &&
        kindFromName(find_.text(1)) == TrackKind::File && isFile(find_.text(2)) &&
        !(record.location && isFile(*record.location)))
        record.location = find_.text(2);
    find_.reset();
    sql::Statement& statement = existing ? update_ : insert_;
    bindRecord(statement, record);
    statement.run();
    return {existing.value_or(db_.lastInsertId()), !existing};
}

std::optional<qint64> idForLocation(sql::Database& db, const QString& path) {
    sql::Statement statement(db,
                             "SELECT id FROM tracks WHERE location = ? AND kind = 'file' "
                             "ORDER BY id LIMIT 1");
    statement.bind(1, path);
    if (!statement.step())
        return std::nullopt;
    return statement.integer(0);
}

namespace {

void visitRows(sql::Statement& statement, const RowVisitor& visit) {
    TrackRow row;
    while (statement.step()) {
        row.id = statement.integer(0);
        row.persistentId = statement.text(1);
        row.kind = kindFromName(statement.text(2));
        row.name = statement.text(3);
        row.artist = statement.text(4);
        row.album = statement.text(5);
        row.location = statement.isNull(6) ? std::nullopt : std::optional(statement.text(6));
        visit(row);
    }
}

}  // namespace

void visitAll(sql::Database& db, const RowVisitor& visit) {
    sql::Statement statement(db,
                             "SELECT id, persistent_id, kind, name, artist, album, location "
                             "FROM tracks ORDER BY id");
    visitRows(statement, visit);
}

void visitPlaylist(sql::Database& db, qint64 playlistId, const RowVisitor& visit) {
    sql::Statement statement(
        db,
        "SELECT t.id, t.persistent_id, t.kind, t.name, t.artist, t.album, t.location "
        "FROM playlist_items i JOIN tracks t ON t.id = i.track_id "
        "WHERE i.playlist_id = ? ORDER BY i.position, i.id");
    statement.bind(1, playlistId);
    visitRows(statement, visit);
}

void visitSelection(sql::Database& db, const RowVisitor& visit) {
    sql::Statement statement(
        db,
        "SELECT t.id, t.persistent_id, t.kind, t.name, t.artist, t.album, t.location "
        "FROM selection s JOIN tracks t ON t.id = s.track_id ORDER BY s.position");
    visitRows(statement, visit);
}

void remove(sql::Database& db, qint64 id) {
    sql::Statement statement(db, "DELETE FROM tracks WHERE id = ?");
    statement.bind(1, id);
    statement.run();
    if (db.changes() == 0)
        throw trackGone();
}

}  // namespace tessel::itunes::trackstore
