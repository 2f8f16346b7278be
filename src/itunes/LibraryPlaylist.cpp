#include "LibraryPlaylist.h"

#include "LibraryTrack.h"

namespace tessel::itunes {

LibraryPlaylist::LibraryPlaylist(ConnectionPtr connection, qint64 id)
    : connection_(std::move(connection)), id_(id) {}

playliststore::PlaylistInfo LibraryPlaylist::info() const {
    return connection_->locked([this](sql::Database& db) { return playliststore::info(db, id_); });
}

QString LibraryPlaylist::name() const {
    return info().name;
}

QString LibraryPlaylist::persistentId() const {
    return info().persistentId;
}

bool LibraryPlaylist::smart() const {
    return info().kind != playliststore::PlaylistKind::User;
}

bool LibraryPlaylist::isFolder() const {
    return info().kind == playliststore::PlaylistKind::Folder;
}

QString LibraryPlaylist::folderId() const {
    return connection_->locked([this](sql::Database& db) {
        sql::Statement statement(db,
                                 "SELECT folder.persistent_id FROM playlists AS list "
                                 "JOIN playlists AS folder ON folder.id = list.parent_id "
                                 "WHERE list.id = ?");
        statement.bind(1, id_);
        return statement.step() ? statement.text(0) : QString();
    });
}

QList<TrackPtr> LibraryPlaylist::tracks() const {
    const auto entries =
        connection_->locked([this](sql::Database& db) { return playliststore::entries(db, id_); });
    QList<TrackPtr> result;
    result.reserve(entries.size());
    for (const auto& entry : entries)
        result.append(std::make_shared<LibraryTrack>(connection_, entry.trackId, entry.itemId));
    return result;
}

QList<TrackPtr> LibraryPlaylist::getTracks() const {
    // The entries are read in one request, so every reference is current when it is returned.
    return tracks();
}

bool LibraryPlaylist::isSamePlaylist(const Playlist& other) const {
    const auto* playlist = dynamic_cast<const LibraryPlaylist*>(&other);
    return playlist && playlist->id_ == id_ && playlist->libraryId() == libraryId();
}

void LibraryPlaylist::setName(const QString& name) {
    connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        playliststore::rename(db, id_, name);
        transaction.commit();
    });
}

void LibraryPlaylist::deletePlaylist() {
    connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        playliststore::remove(db, id_);
        transaction.commit();
    });
}

}  // namespace tessel::itunes
