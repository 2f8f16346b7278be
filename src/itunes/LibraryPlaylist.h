// A playlist of the library database. Its name, kind and entries are read on every call.
#pragma once

#include "Connection.h"
#include "ITunes.h"
#include "PlaylistStore.h"

namespace tessel::itunes {

class LibraryPlaylist final : public Playlist {
  public:
    LibraryPlaylist(ConnectionPtr connection, qint64 id);

    QString name() const override;
    QString persistentId() const override;
    /// True for smart playlists, folders and the library's own lists: none takes entries.
    bool smart() const override;
    /// References that name their entries, in playlist order; throws when the playlist is gone.
    QList<TrackPtr> tracks() const override;
    QList<TrackPtr> getTracks() const override;
    bool isSamePlaylist(const Playlist& other) const override;
    void setName(const QString& name) override;
    void deletePlaylist() override;
    bool isFolder() const override;
    QString folderId() const override;

    qint64 id() const { return id_; }
    const QString& libraryId() const { return connection_->libraryId(); }
    playliststore::PlaylistInfo info() const;

  private:
    ConnectionPtr connection_;
    qint64 id_;
};

}  // namespace tessel::itunes
