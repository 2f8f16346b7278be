// Turning the chosen track source into the list of tracks a tool works on.
#pragma once

#include "MusicTrack.h"
#include "itunes/ITunes.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace tessel {

/// The 13 extensions the folder scan accepts, compared in lower case.
const QStringList& audioExtensions();

/// What tracks() reads of the controller's options.
struct TrackSource {
    int selectedMethod = 0;          // 0 library playlist, 1 folder, other: the selection
    int selectedPlaylist = 0;        // index into playlists
    std::optional<QUrl> folderPath;  // the chosen folder
    QStringList playlists;           // names of all user playlists, as the menu shows them
};

/// A new list of the source's tracks, or absent after an alert. Scripting errors propagate.
std::optional<QList<MusicTrack>> gatherTracks(const TrackSource& source,
                                              const itunes::ApplicationProvider& application);

/// Every music file below the folder at any depth, in listing order; absent after the
/// "No Folder" or "No Files" alert.
std::optional<QList<MusicTrack>> folderTracks(const std::optional<QUrl>& folder);

/// The tracks of the playlist named at selectedPlaylist of playlists (two of one name: the
/// first); absent after an alert when the index is out of range or the name is gone.
std::optional<QList<MusicTrack>> playlistTracks(const TrackSource& source,
                                                itunes::Application& application);

/// The library's selection resolved into current track objects, in selection order.
QList<itunes::TrackPtr> selectedTracks(itunes::Application& application);

/// Names of all user playlists of the library and of the editable (non-smart) ones.
struct PlaylistNames {
    QStringList playlists;
    QStringList editablePlaylists;
};
PlaylistNames readPlaylistNames(itunes::Application& application);

/// The first user playlist of the library with this name; null when there is none.
itunes::PlaylistPtr firstPlaylistNamed(itunes::Application& application, const QString& name);

}  // namespace tessel
