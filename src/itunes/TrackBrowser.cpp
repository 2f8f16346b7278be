#include "TrackBrowser.h"

namespace tessel::itunes::browse {

namespace {

// Column names come from this table only, never from input.
const char* sortExpression(Column column) {
    switch (column) {
        case Column::Title:
            return "t.name COLLATE NOCASE";
        case Column::Artist:
            return "t.artist COLLATE NOCASE";
        case Column::Album:
            return "t.album COLLATE NOCASE";
        case Column::AlbumArtist:
            return "t.album_artist COLLATE NOCASE";
        case Column::Genre:
            return "t.genre COLLATE NOCASE";
        case Column::Year:
            return "t.year";
        case Column::TrackNumber:
            return "t.track_number";
        case Column::Time:
            return "t.duration_ms";
        case Column::Rating:
            return "t.rating";
        case Column::PlayCount:
            return "t.played_count";
        case Column::File:
            return "t.location";
    }
    return "t.id";
}

// LIKE's own wildcards in the typed text match only themselves.
QString likePattern(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

QByteArray keysSql(const Query& query) {
    QByteArray sql = query.playlistId
                         ? "SELECT t.id, i.id FROM playlist_items i JOIN tracks t ON t.id = "
                           "i.track_id WHERE i.playlist_id = ?1"
                         : "SELECT t.id, NULL FROM tracks t WHERE 1";
    if (!query.filter.isEmpty())
        sql +=
            " AND (t.name LIKE ?2 ESCAPE '\\' OR t.artist LIKE ?2 ESCAPE '\\' "
            "OR t.album LIKE ?2 ESCAPE '\\')";
    const QByteArray natural = query.playlistId ? "i.position, i.id" : "t.id";
    sql += " ORDER BY ";
    if (query.sortColumn) {
        sql += sortExpression(*query.sortColumn);
        sql += query.descending ? " DESC, " : ", ";
    }
    sql += natural;
    return sql;
}

}  // namespace

int trackCount(sql::Database& db) {
    sql::Statement statement(db, "SELECT count(*) FROM tracks");
    return statement.step() ? int(statement.integer(0)) : 0;
}

QList<RowKey> rowKeys(sql::Database& db, const Query& query) {
    sql::Statement statement(db, keysSql(query).constData());
    if (query.playlistId)
        statement.bind(1, *query.playlistId);
    if (!query.filter.isEmpty())
        statement.bind(2, likePattern(query.filter));
    QList<RowKey> keys;
    while (statement.step()) {
        const auto item = statement.isNull(1) ? std::nullopt : std::optional(statement.integer(1));
        keys.append({statement.integer(0), item});
    }
    return keys;
}

QHash<qint64, TrackData> trackData(sql::Database& db, const QList<qint64>& trackIds) {
    // One statement for the batch: the ids travel as a JSON array of numbers.
    QByteArray ids = "[";
    for (qsizetype i = 0; i < trackIds.size(); ++i)
        ids += (i ? "," : "") + QByteArray::number(trackIds.at(i));
    ids += ']';
    sql::Statement statement(db,
                             "SELECT id, name, artist, album, album_artist, genre, year, "
                             "track_number, duration_ms, rating, played_count, kind, location "
                             "FROM tracks WHERE id IN (SELECT value FROM json_each(?))");
    statement.bind(1, QString::fromLatin1(ids));
    QHash<qint64, TrackData> result;
    while (statement.step()) {
        TrackData data;
        data.title = statement.text(1);
        data.artist = statement.text(2);
        data.album = statement.text(3);
        data.albumArtist = statement.text(4);
        data.genre = statement.text(5);
        data.year = int(statement.integer(6));
        data.trackNumber = int(statement.integer(7));
        data.durationMs = statement.integer(8);
        data.rating = int(statement.integer(9));
        data.playCount = int(statement.integer(10));
        data.kind = kindFromName(statement.text(11));
        if (!statement.isNull(12))
            data.location = statement.text(12);
        result.insert(statement.integer(0), data);
    }
    return result;
}

}  // namespace tessel::itunes::browse
