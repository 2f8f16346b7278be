// The tracks table: reading and writing single properties, and whole records for the
// importers. Callers hold the connection's lock and own any transaction.
#pragma once

#include "ITunes.h"
#include "Sqlite.h"
#include "TrackFields.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace tessel::itunes::trackstore {

/// What the importers know of one track: the values of trackFields() in that order. An
/// invalid value is not known: a new track stores the empty text or 0, an existing one keeps
/// its value.
/// "duration" is given in seconds (a fraction allowed) and stored in milliseconds.
struct TrackRecord {
    QString persistentId;
    TrackKind kind = TrackKind::File;
    std::optional<QString> location;  // a file path, or a stream's address
    QVariantList values = QVariantList(trackFields().size());

    void set(const QString& key, const QVariant& value);
};

/// The error for a track that no longer exists.
TesselError trackGone();

bool exists(sql::Database& db, qint64 id);
/// A property's stored value (text or qint64); throws trackGone() for a missing track.
QVariant value(sql::Database& db, qint64 id, const TrackField& field);
/// What one statement reads of a track: its kind and stored location, and the values of
/// fields (as value() gives each), in their order.
struct StoredTrack {
    TrackKind kind = TrackKind::File;
    std::optional<QString> location;
    QVariantList values;
    std::optional<qint64> entryTrack;  // the track of the entry asked about, while it exists
};
/// Several properties of a track read together; absent for a missing track. With entry, also
/// the track that playlist entry holds.
std::optional<StoredTrack> values(sql::Database& db, qint64 id,
                                  const QList<const TrackField*>& fields,
                                  std::optional<qint64> entry = std::nullopt);
/// Stores a property; text fields take the value's text, integer fields its integer reading.
/// Throws trackGone() for a missing track.
void setValue(sql::Database& db, qint64 id, const TrackField& field, const QVariant& value);

struct KindAndLocation {
    TrackKind kind = TrackKind::File;
    std::optional<QString> location;
};
KindAndLocation kindAndLocation(sql::Database& db, qint64 id);
void setLocation(sql::Database& db, qint64 id, const QString& location);
/// Points every file track stored at from to to; returns how many.
int moveLocation(sql::Database& db, const QString& from, const QString& to);

/// Inserts records, or updates the track with the record's persistent ID, with one prepared
/// statement for a whole import.
class Upserter {
  public:
    explicit Upserter(sql::Database& db);

    struct Result {
        qint64 id = 0;
        bool added = false;  // a new track, not an update
    };
    /// With keepLivingFile, an existing file track whose stored file is there keeps that
    /// location when the record's location is no file.
    Result upsert(TrackRecord record, bool keepLivingFile = false);

  private:
    static void bindRecord(sql::Statement& statement, const TrackRecord& record);

    sql::Database& db_;
    sql::Statement find_;
    sql::Statement insert_;
    sql::Statement update_;
};
/// The id of the file track stored at path; absent when there is none.
std::optional<qint64> idForLocation(sql::Database& db, const QString& path);
/// What a listing shows of a track, read with the other tracks in one request.
struct TrackRow {
    qint64 id = 0;
    QString persistentId;
    TrackKind kind = TrackKind::File;
    QString name;
    QString artist;
    QString album;
    std::optional<QString> location;  // as stored
};
/// Called with each row of a listing as it comes from the database; no listing holds its rows.
using RowVisitor = std::function<void(const TrackRow&)>;
/// Every track of the library, in the order they were added.
void visitAll(sql::Database& db, const RowVisitor& visit);
/// The tracks of a playlist's entries, in playlist order.
void visitPlaylist(sql::Database& db, qint64 playlistId, const RowVisitor& visit);
/// The selected tracks, in selection order.
void visitSelection(sql::Database& db, const RowVisitor& visit);

/// Removes the track and with it every playlist entry of it.
void remove(sql::Database& db, qint64 id);

}  // namespace tessel::itunes::trackstore
