#include "LibraryApplication.h"

#include "LibraryPlaylist.h"
#include "LibraryTrack.h"
#include "PlaylistStore.h"

namespace tessel::itunes {

LibrarySource::LibrarySource(ConnectionPtr connection) : connection_(std::move(connection)) {}

QString LibrarySource::name() const {
    return QStringLiteral("Library");
}

QList<PlaylistPtr> LibrarySource::userPlaylists(const PlaylistFilter& filter) const {
    const auto infos =
        connection_->locked([&](sql::Database& db) { return playliststore::list(db, filter); });
    QList<PlaylistPtr> result;
    for (const auto& info : infos)
        result.append(std::make_shared<LibraryPlaylist>(connection_, info.id));
    return result;
}

QList<PlaylistSummary> LibrarySource::userPlaylistSummaries(const PlaylistFilter& filter) const {
    const auto infos =
        connection_->locked([&](sql::Database& db) { return playliststore::list(db, filter); });
    QList<PlaylistSummary> summaries;
    summaries.reserve(infos.size());
    for (const auto& info : infos)
        summaries.append(
            {info.name, info.persistentId, info.kind != playliststore::PlaylistKind::User});
    return summaries;
}

LibraryApplication::LibraryApplication(ConnectionPtr connection)
    : connection_(std::move(connection)) {}

QList<std::shared_ptr<Source>> LibraryApplication::sources() const {
    return {std::make_shared<LibrarySource>(connection_)};
}

QList<TrackPtr> LibraryApplication::selection() const {
    const auto entries =
        connection_->locked([](sql::Database& db) { return playliststore::selection(db); });
    QList<TrackPtr> result;
    for (const auto& entry : entries)
        result.append(std::make_shared<LibraryTrack>(connection_, entry.trackId, entry.itemId));
    return result;
}

}  // namespace tessel::itunes
