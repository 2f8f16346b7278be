// Browsing the library's tracks: the order of the rows of a playlist or of the whole library,
// filtered and sorted by the database, and what a table shows of them, read a batch at a time.
// A hundred thousand tracks give a hundred thousand small keys, never a hundred thousand rows
// of text. Callers hold the connection's lock.
#pragma once

#include "Sqlite.h"
#include "TrackFields.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace tessel::itunes::browse {

/// The columns a track table shows, in table order.
enum class Column {
    Title,
    Artist,
    Album,
    AlbumArtist,
    Genre,
    Year,
    TrackNumber,
    Time,
    Rating,
    PlayCount,
    File,
};
inline constexpr int kColumnCount = int(Column::File) + 1;

struct Query {
    std::optional<qint64> playlistId;  // absent: the whole library
    /// Rows whose title, artist or album holds this text, in any letter case.
    QString filter;
    /// Absent: playlist order, or for the whole library the order tracks were added in.
    std::optional<Column> sortColumn;
    bool descending = false;
};

/// One row: the track, and the playlist entry it is shown through (absent for the library).
struct RowKey {
    qint64 trackId = 0;
    std::optional<qint64> itemId;
};

/// The number of tracks in the library.
int trackCount(sql::Database& db);

/// The rows of the query in order.
QList<RowKey> rowKeys(sql::Database& db, const Query& query);

struct TrackData {
    QString title;
    QString artist;
    QString album;
    QString albumArtist;
    QString genre;
    int year = 0;
    int trackNumber = 0;
    qint64 durationMs = 0;
    int rating = 0;  // 0-100
    int playCount = 0;
    TrackKind kind = TrackKind::File;
    std::optional<QString> location;  // as stored
};

/// What the table shows of these tracks, by track id (tracks gone since are left out).
QHash<qint64, TrackData> trackData(sql::Database& db, const QList<qint64>& trackIds);

}  // namespace tessel::itunes::browse
