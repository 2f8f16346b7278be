#include "LibraryApplication.h"

#include "LibraryPlaylist.h"
#include "LibraryTrack.h"
#include "PlaylistStore.h"
#include "TrackStore.h"
#include "foundation/FileHelpers.h"
#include "support/FormattedString.h"

#include <QDir>
#include <QFileInfo>

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

PlaylistPtr LibrarySource::makePlaylist(const QString& name) {
    const qint64 id = connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        const qint64 created = playliststore::create(db, name, playliststore::PlaylistKind::User);
        transaction.commit();
        return created;
    });
    return std::make_shared<LibraryPlaylist>(connection_, id);
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
    result.reserve(entries.size());
    for (const auto& entry : entries)
        result.append(std::make_shared<LibraryTrack>(connection_, entry.trackId, entry.itemId));
    return result;
}

int LibraryApplication::selectionCount() const {
    return connection_->locked([](sql::Database& db) { return playliststore::selectionCount(db); });
}

void LibraryApplication::select(const QList<TrackPtr>& tracks) {
    QList<playliststore::Selected> selected;
    selected.reserve(tracks.size());
    for (const TrackPtr& track : tracks) {
        const auto* own = dynamic_cast<const LibraryTrack*>(track.get());
        if (!own || own->libraryId() != connection_->libraryId())
            throw scriptingError(QStringLiteral("The track belongs to another music library."));
        selected.append({own->itemId(), own->trackId()});
    }
    connection_->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        playliststore::setSelection(db, selected);
        transaction.commit();
    });
}

namespace {

QString absolutePath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void moveFile(const QString& from, const QString& to) {
    if (const std::optional<QString> why = moveWithoutReplacing(from, to))
        throw TesselError(QStringLiteral("Rename Failed"),
                          formattedString(QStringLiteral("“%@” could not be renamed: %@"),
                                          QFileInfo(from).fileName(), *why));
}

// The stored paths that name the file, each with the path it takes after the rename: the path
// as given and, when links lead elsewhere, the real one.
QList<QPair<QString, QString>> movedLocations(const QString& from, const QString& to) {
    QList<QPair<QString, QString>> locations{{from, to}};
    const QString real = QFileInfo(from).canonicalFilePath();
    if (!real.isEmpty() && real != from)
        locations.append({real, QFileInfo(real).path() + u'/' + QFileInfo(to).fileName()});
    return locations;
}

}  // namespace

void LibraryApplication::renameFile(const QString& from, const QString& to) {
    const QString source = absolutePath(from);
    const QString target = absolutePath(to);
    const auto locations = movedLocations(source, target);
    connection_->locked([&](sql::Database& db) {
        bool held = false;
        for (const auto& location : locations)
            held = held || trackstore::idForLocation(db, location.first).has_value();
        if (!held) {  // nothing to follow: a library opened for reading does not stop it
            moveFile(source, target);
            return;
        }
        sql::Transaction transaction(db);
        for (const auto& [old, renamed] : locations)
            trackstore::moveLocation(db, old, renamed);
        moveFile(source, target);  // a failure rolls the library back
        try {
            transaction.commit();
        } catch (...) {
            moveWithoutReplacing(target, source);
            throw;
        }
    });
}

}  // namespace tessel::itunes
