// A music library held in memory, implementing the library interface for tests: tracks with
// properties, playlists whose entries may repeat a track, a selection, and switches that make
// a track fail the way a library does when it changes under a running operation.
#pragma once

#include "itunes/ITunes.h"

#include <QList>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

namespace tessel::test {

struct MemoryTrackData {
    QVariantMap properties;           // "name", "artist", ... as the library stores them
    std::optional<QString> location;  // absent: a track without a file
    QString className = itunes::kFileTrackClass;
    bool deleted = false;              // get() fails: the track is gone
    bool failWrites = false;           // setProperty fails with a scripting error
    std::function<void()> afterWrite;  // runs after each write, as another program might
};
using MemoryTrack = std::shared_ptr<MemoryTrackData>;

struct MemoryEntry {
    int id = 0;
    MemoryTrack track;
};

struct MemoryPlaylistData {
    QString name;
    QString persistentId;  // given by addPlaylist, unique in the library
    bool smart = false;
    QList<MemoryEntry> entries;
};
using MemoryPlaylist = std::shared_ptr<MemoryPlaylistData>;

class MemoryLibrary {
  public:
    MemoryTrack addTrack(const QString& name, const QString& artist,
                         std::optional<QString> location = std::nullopt);
    MemoryPlaylist addPlaylist(const QString& name, bool smart = false);
    /// Appends an entry for the track to the playlist.
    void append(const MemoryPlaylist& playlist, const MemoryTrack& track);
    void select(const QList<MemoryTrack>& tracks) { data_->selection = tracks; }
    /// Makes the library refuse to rename files.
    void refuseRenames() { data_->refuseRenames = true; }

    /// Opens the library anew for each use, like the real one.
    itunes::ApplicationProvider provider();
    /// A reference to the track as reached through the playlist's entry at index.
    itunes::TrackPtr reference(const MemoryPlaylist& playlist, int index);
    /// The names of the playlist's tracks, in order.
    static QStringList names(const MemoryPlaylist& playlist);

    struct Data {
        QList<MemoryPlaylist> playlists;
        int nextEntry = 1;
        int nextPlaylist = 1;
        bool refuseRenames = false;  // renameFile fails, moving nothing
        QList<MemoryTrack> selection;
    };

  private:
    std::shared_ptr<Data> data_ = std::make_shared<Data>();
};

/// The first user playlist of that name in the library, or null.
inline itunes::PlaylistPtr playlistNamed(itunes::Application& application, const QString& name) {
    const auto matches =
        application.sources().first()->userPlaylists(itunes::PlaylistFilter::named(name));
    return matches.isEmpty() ? nullptr : matches.first();
}

}  // namespace tessel::test
