// The playlists, their ordered entries and the stored selection. Callers hold the
// connection's lock and own any transaction.
#pragma once

#include "ITunes.h"
#include "Sqlite.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace tessel::itunes::playliststore {

/// "user" lists take entries by hand; the others ("smart", "builtin" for the player's own
/// lists such as Music or Podcasts, "folder") are kept in order but cannot be edited.
enum class PlaylistKind { User, Smart, Builtin, Folder };
QString kindName(PlaylistKind kind);
PlaylistKind kindFromName(const QString& name);

struct PlaylistInfo {
    qint64 id = 0;
    QString name;
    PlaylistKind kind = PlaylistKind::User;
    QString persistentId;
};

/// One entry of a playlist: the entry's own id and the track it holds.
struct Entry {
    qint64 itemId = 0;
    qint64 trackId = 0;
};

TesselError playlistGone();
TesselError entryGone();
/// The error for adding to, or removing from, a list that cannot be edited by hand.
TesselError notEditable(const QString& name);

/// Playlists in library order; an unset filter field does not filter.
QList<PlaylistInfo> list(sql::Database& db, const PlaylistFilter& filter);
/// Throws playlistGone() for a missing playlist.
PlaylistInfo info(sql::Database& db, qint64 id);
std::optional<PlaylistInfo> withPersistentId(sql::Database& db, const QString& persistentId);
/// The playlists a choice typed by the user names: the one whose persistent ID it is (in any
/// letter case), else every playlist of that name, in library order.
QList<PlaylistInfo> matching(sql::Database& db, const QString& nameOrId);

/// Creates a playlist at the end of the library order; returns its id.
qint64 create(sql::Database& db, const QString& name, PlaylistKind kind,
              const QString& persistentId = {});
/// Updates an existing playlist's name and kind, keeping its place in the library order.
void update(sql::Database& db, qint64 id, const QString& name, PlaylistKind kind);
void setParent(sql::Database& db, qint64 id, std::optional<qint64> parentId);

/// The entries in playlist order; throws playlistGone() for a missing playlist.
QList<Entry> entries(sql::Database& db, qint64 playlistId);
/// The number of entries of a playlist.
int entryCount(sql::Database& db, qint64 playlistId);
/// The track of an entry; absent when the entry is gone.
std::optional<qint64> entryTrack(sql::Database& db, qint64 itemId);
/// The playlist an entry belongs to; absent when the entry is gone.
std::optional<qint64> entryPlaylist(sql::Database& db, qint64 itemId);

/// Entry appenders with one prepared statement, for imports of many entries.
class Appender {
  public:
    explicit Appender(sql::Database& db);
    /// Appends the track at the end of the playlist; returns the entry's id.
    qint64 append(qint64 playlistId, qint64 trackId);
    /// Inserts an entry at the position given, for an import that numbers a list's entries
    /// itself; entries of one position keep the order they were inserted in.
    void insertAt(qint64 playlistId, qint64 trackId, qint64 position);

  private:
    sql::Database& db_;
    sql::Statement next_;
    sql::Statement insert_;
};

void removeEntry(sql::Database& db, qint64 itemId);
void removeAllEntries(sql::Database& db, qint64 playlistId);

/// One selected track: chosen through a playlist entry, or in the whole library (no entry).
struct Selected {
    std::optional<qint64> itemId;
    qint64 trackId = 0;
};

/// The stored selection in selection order (entries and tracks deleted since are left out).
QList<Selected> selection(sql::Database& db);
/// Replaces the selection with these playlist entries.
void setSelection(sql::Database& db, const QList<qint64>& itemIds);
/// Replaces the selection; an entry that is gone, or names another track, is an error.
void setSelection(sql::Database& db, const QList<Selected>& selected);
/// The number of selected tracks.
int selectionCount(sql::Database& db);

/// Renames a playlist; the library's own lists keep their names.
void rename(sql::Database& db, qint64 id, const QString& name);
/// Deletes a playlist that takes entries by hand, with its entries.
void remove(sql::Database& db, qint64 id);
/// The number of entries of every playlist that has any, by playlist id.
QHash<qint64, int> entryCounts(sql::Database& db);
/// The folder each playlist is in, by playlist id (playlists at the top are left out).
QHash<qint64, qint64> parents(sql::Database& db);

}  // namespace tessel::itunes::playliststore
