// Turning the chosen track source into the list of tracks a tool works on.
#pragma once

#include "MusicTrack.h"
#include "PassedOver.h"
#include "itunes/ITunes.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace tessel {

/// What tracks() reads of the controller's options.
struct TrackSource {
    int selectedMethod = 0;          // 0 library playlist, 1 folder, other: the selection
    int selectedPlaylist = 0;        // index into playlists
    std::optional<QUrl> folderPath;  // the chosen folder
    QStringList playlistIds;         // persistent IDs of the user playlists, in menu order
};

/// The tracks a source gave, in order, and what it passed over without making a track of it.
struct GatheredTracks {
    QList<MusicTrack> tracks;
    QList<PassedOver> passedOver;
};

/// Hears of each track as soon as the gathering finds it, in the order of the list; false
/// stops the gathering there.
using TrackFound = std::function<bool(const MusicTrack& track)>;

/// A new list of the source's tracks. Throws a TesselError whose name and reason are the
/// title and message of what went wrong ("No Folder", "No Files", "Playlist Not Found");
/// library errors propagate. When given, found hears of each track of the list as it is found:
/// the files of a folder while the folder is still being listed, other tracks once their list
/// is read. When found stops the gathering, the tracks found so far are given and no error
/// that only the whole list could show ("No Files") is thrown.
GatheredTracks gatherTracks(const TrackSource& source,
                            const itunes::ApplicationProvider& application,
                            const TrackFound& found = {});

/// Every music file below the folder at any depth, in listing order; throws "No Folder" or
/// "No Files". Files whose names are not valid UTF-8 are passed over. found as gatherTracks.
GatheredTracks folderTracks(const std::optional<QUrl>& folder, const TrackFound& found = {});

/// The tracks of the playlist whose persistent ID is at selectedPlaylist of playlistIds, so
/// the playlist chosen is the one gathered even when another shares its name; throws
/// "Playlist Not Found" when the index is out of range or the playlist is gone.
GatheredTracks playlistTracks(const TrackSource& source, itunes::Application& application);

/// Tells found of each track of a list already gathered, in order, until it stops the
/// gathering; the list then ends at the track it stopped on.
GatheredTracks tellEachTrack(GatheredTracks gathered, const TrackFound& found);

/// The library's selection resolved into current track objects, in selection order.
QList<itunes::TrackPtr> selectedTracks(itunes::Application& application);

/// What the playlist menus list: all user playlists of the library, and the editable
/// (non-smart) ones, each by name and, at the same position, by persistent ID.
struct PlaylistMenus {
    QStringList playlists;
    QStringList playlistIds;
    QStringList editablePlaylists;
    QStringList editablePlaylistIds;
};
PlaylistMenus readPlaylistMenus(itunes::Application& application);

/// The user playlist with this persistent ID; null when there is none.
itunes::PlaylistPtr playlistWithId(itunes::Application& application, const QString& persistentId);

}  // namespace tessel
