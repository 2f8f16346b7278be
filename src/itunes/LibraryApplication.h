// The application object of the library database: one source (the library) and the stored
// selection. Every object reached through it shares its connection.
#pragma once

#include "Connection.h"
#include "ITunes.h"

namespace tessel::itunes {

class LibrarySource final : public Source {
  public:
    explicit LibrarySource(ConnectionPtr connection);

    QString name() const override;
    QList<PlaylistPtr> userPlaylists(const PlaylistFilter& filter = {}) const override;
    QList<PlaylistSummary> userPlaylistSummaries(const PlaylistFilter& filter = {}) const override;
    PlaylistPtr makePlaylist(const QString& name) override;

  private:
    ConnectionPtr connection_;
};

class LibraryApplication final : public Application {
  public:
    explicit LibraryApplication(ConnectionPtr connection);

    QList<std::shared_ptr<Source>> sources() const override;
    /// References to the selected playlist entries, in selection order.
    QList<TrackPtr> selection() const override;
    int selectionCount() const override;
    /// Only tracks of this library can be selected.
    void select(const QList<TrackPtr>& tracks) override;
    /// Tracks stored at the file's path as given or as its real path (through links) follow.
    void renameFile(const QString& from, const QString& to) override;

    const ConnectionPtr& connection() const { return connection_; }

  private:
    ConnectionPtr connection_;
};

}  // namespace tessel::itunes
