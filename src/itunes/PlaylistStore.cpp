#include "PlaylistStore.h"

#include "TrackFields.h"
#include "support/FormattedString.h"

namespace tessel::itunes::playliststore {

namespace {

PlaylistInfo infoFrom(const sql::Statement& row) {
    return {row.integer(0), row.text(1), kindFromName(row.text(2)), row.text(3)};
}

QList<Entry> entriesFrom(sql::Statement& statement) {
    QList<Entry> result;
    while (statement.step())
        result.append({statement.integer(0), statement.integer(1)});
    return result;
}

std::optional<qint64> singleInteger(sql::Statement& statement) {
    if (!statement.step())
        return std::nullopt;
    return statement.integer(0);
}

}  // namespace

QString kindName(PlaylistKind kind) {
    switch (kind) {
        case PlaylistKind::Smart:
            return QStringLiteral("smart");
        case PlaylistKind::Builtin:
            return QStringLiteral("builtin");
        case PlaylistKind::Folder:
            return QStringLiteral("folder");
        case PlaylistKind::User:
            break;
    }
    return QStringLiteral("user");
}

PlaylistKind kindFromName(const QString& name) {
    if (name == u"smart")
        return PlaylistKind::Smart;
    if (name == u"builtin")
        return PlaylistKind::Builtin;
    if (name == u"folder")
        return PlaylistKind::Folder;
    return PlaylistKind::User;
}

TesselError playlistGone() {
    return scriptingError(QStringLiteral("The playlist no longer exists in the music library."));
}

TesselError entryGone() {
    return scriptingError(
        QStringLiteral("The track is no longer in the playlist it was taken "
                       "from."));
}

TesselError notEditable(const QString& name) {
    return scriptingError(formattedString(
        QStringLiteral("The playlist “%@” is a smart playlist, a folder or one of the library's "
                       "own lists; its tracks cannot be changed by hand."),
        name));
}

QList<PlaylistInfo> list(sql::Database& db, const PlaylistFilter& filter) {
    sql::Statement statement(db,
                             "SELECT id, name, kind, persistent_id FROM playlists "
                             "WHERE (?1 IS NULL OR name = ?1) "
                             "AND (?2 IS NULL OR (kind <> 'user') = ?2) "
                             "AND (?3 IS NULL OR persistent_id = ?3) "
                             "ORDER BY position, id");
    statement.bind(1, filter.name);
    statement.bind(2, filter.smart ? std::optional<qint64>(*filter.smart ? 1 : 0) : std::nullopt);
    // Stored in upper case, as the players write them.
    statement.bind(3, filter.persistentId ? std::optional(filter.persistentId->trimmed().toUpper())
                                          : std::nullopt);
    QList<PlaylistInfo> result;
    while (statement.step())
        result.append(infoFrom(statement));
    return result;
}

PlaylistInfo info(sql::Database& db, qint64 id) {
    sql::Statement statement(db,
                             "SELECT id, name, kind, persistent_id FROM playlists "
                             "WHERE id = ?");
    statement.bind(1, id);
    if (!statement.step())
        throw playlistGone();
    return infoFrom(statement);
}

std::optional<PlaylistInfo> withPersistentId(sql::Database& db, const QString& persistentId) {
    sql::Statement statement(db,
                             "SELECT id, name, kind, persistent_id FROM playlists "
                             "WHERE persistent_id = ?");
    statement.bind(1, persistentId);
    if (!statement.step())
        return std::nullopt;
    return infoFrom(statement);
}

QList<PlaylistInfo> matching(sql::Database& db, const QString& nameOrId) {
    if (const auto byId = withPersistentId(db, nameOrId.trimmed().toUpper()))
        return {*byId};
    return list(db, PlaylistFilter::named(nameOrId));
}

qint64 create(sql::Database& db, const QString& name, PlaylistKind kind,
              const QString& persistentId) {
    sql::Statement statement(db,
                             "INSERT INTO playlists (persistent_id, name, kind, position) "
                             "VALUES (?, ?, ?, (SELECT coalesce(max(position), 0) + 1 "
                             "FROM playlists))");
    statement.bind(1, persistentId.isEmpty() ? newPersistentId() : persistentId)
        .bind(2, name)
        .bind(3, kindName(kind));
    statement.run();
    return db.lastInsertId();
}

void update(sql::Database& db, qint64 id, const QString& name, PlaylistKind kind) {
    sql::Statement statement(db, "UPDATE playlists SET name = ?, kind = ? WHERE id = ?");
    statement.bind(1, name).bind(2, kindName(kind)).bind(3, id);
    statement.run();
}

void setParent(sql::Database& db, qint64 id, std::optional<qint64> parentId) {
    sql::Statement statement(db, "UPDATE playlists SET parent_id = ? WHERE id = ?");
    statement.bind(1, parentId).bind(2, id);
    statement.run();
}

QList<Entry> entries(sql::Database& db, qint64 playlistId) {
    info(db, playlistId);  // throws for a playlist that is gone
    sql::Statement statement(db,
                             "SELECT id, track_id FROM playlist_items "
                             "WHERE playlist_id = ? ORDER BY position, id");
    statement.bind(1, playlistId);
    return entriesFrom(statement);
}

int entryCount(sql::Database& db, qint64 playlistId) {
    sql::Statement statement(db, "SELECT count(*) FROM playlist_items WHERE playlist_id = ?");
    statement.bind(1, playlistId);
    return int(singleInteger(statement).value_or(0));
}

std::optional<qint64> entryTrack(sql::Database& db, qint64 itemId) {
    sql::CachedStatement statement(db, "SELECT track_id FROM playlist_items WHERE id = ?");
    statement->bind(1, itemId);
    return singleInteger(*statement);
}

std::optional<qint64> entryPlaylist(sql::Database& db, qint64 itemId) {
    sql::Statement statement(db, "SELECT playlist_id FROM playlist_items WHERE id = ?");
    statement.bind(1, itemId);
    return singleInteger(statement);
}

Appender::Appender(sql::Database& db)
    : db_(db),
      next_(db,
            "SELECT coalesce(max(position), 0) + 1 FROM playlist_items "
            "WHERE playlist_id = ?"),
      insert_(db,
              "INSERT INTO playlist_items (playlist_id, track_id, position) "
              "VALUES (?, ?, ?)") {}

qint64 Appender::append(qint64 playlistId, qint64 trackId) {
    next_.reset();
    next_.bind(1, playlistId);
    const qint64 position = singleInteger(next_).value_or(1);
    next_.reset();
    insertAt(playlistId, trackId, position);
    return db_.lastInsertId();
}

void Appender::insertAt(qint64 playlistId, qint64 trackId, qint64 position) {
    insert_.reset();
    insert_.bind(1, playlistId).bind(2, trackId).bind(3, position);
    insert_.run();
}

void removeEntry(sql::Database& db, qint64 itemId) {
    sql::Statement statement(db, "DELETE FROM playlist_items WHERE id = ?");
    statement.bind(1, itemId);
    statement.run();
    if (db.changes() == 0)
        throw entryGone();
}

void removeAllEntries(sql::Database& db, qint64 playlistId) {
    sql::Statement statement(db, "DELETE FROM playlist_items WHERE playlist_id = ?");
    statement.bind(1, playlistId);
    statement.run();
}

QList<Selected> selection(sql::Database& db) {
    sql::Statement statement(db,
                             "SELECT item_id, track_id FROM selection "
                             "ORDER BY position");
    QList<Selected> result;
    while (statement.step()) {
        const auto item = statement.isNull(0) ? std::nullopt : std::optional(statement.integer(0));
        result.append({item, statement.integer(1)});
    }
    return result;
}

void setSelection(sql::Database& db, const QList<qint64>& itemIds) {
    QList<Selected> selected;
    selected.reserve(itemIds.size());
    for (qint64 item : itemIds) {
        const std::optional<qint64> track = entryTrack(db, item);
        if (!track)
            throw entryGone();
        selected.append({item, *track});
    }
    setSelection(db, selected);
}

void setSelection(sql::Database& db, const QList<Selected>& selected) {
    db.exec("DELETE FROM selection");
    sql::Statement insert(db,
                          "INSERT INTO selection (position, item_id, track_id) "
                          "SELECT ?1, ?2, ?3 WHERE ?2 IS NULL OR EXISTS "
                          "(SELECT 1 FROM playlist_items WHERE id = ?2 AND track_id = ?3)");
    for (qsizetype i = 0; i < selected.size(); ++i) {
        insert.reset();
        insert.bind(1, qint64(i)).bind(2, selected.at(i).itemId).bind(3, selected.at(i).trackId);
        insert.run();
        if (db.changes() == 0)
            throw entryGone();
    }
}

int selectionCount(sql::Database& db) {
    sql::Statement statement(db, "SELECT count(*) FROM selection");
    return int(singleInteger(statement).value_or(0));
}

void rename(sql::Database& db, qint64 id, const QString& name) {
    const PlaylistInfo playlist = info(db, id);
    if (playlist.kind == PlaylistKind::Builtin)
        throw scriptingError(formattedString(
            QStringLiteral("The playlist “%@” is one of the library's own lists; it keeps its "
                           "name."),
            playlist.name));
    sql::Statement statement(db, "UPDATE playlists SET name = ? WHERE id = ?");
    statement.bind(1, name).bind(2, id);
    statement.run();
}

void remove(sql::Database& db, qint64 id) {
    const PlaylistInfo playlist = info(db, id);
    if (playlist.kind != PlaylistKind::User)
        throw notEditable(playlist.name);
    sql::Statement statement(db, "DELETE FROM playlists WHERE id = ?");
    statement.bind(1, id);
    statement.run();
}

QHash<qint64, int> entryCounts(sql::Database& db) {
    sql::Statement statement(db,
                             "SELECT playlist_id, count(*) FROM playlist_items "
                             "GROUP BY playlist_id");
    QHash<qint64, int> counts;
    while (statement.step())
        counts.insert(statement.integer(0), int(statement.integer(1)));
    return counts;
}

QHash<qint64, qint64> parents(sql::Database& db) {
    sql::Statement statement(db, "SELECT id, parent_id FROM playlists WHERE parent_id IS NOT NULL");
    QHash<qint64, qint64> result;
    while (statement.step())
        result.insert(statement.integer(0), statement.integer(1));
    return result;
}

}  // namespace tessel::itunes::playliststore
