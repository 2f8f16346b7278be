#include "TrackGathering.h"

#include "foundation/FileHelpers.h"
#include "support/Alerts.h"

#include <QFileInfo>

namespace tessel {

namespace {

std::shared_ptr<itunes::Source> librarySource(itunes::Application& application) {
    const auto sources = application.sources();
    if (sources.isEmpty())
        throw itunes::scriptingError(QStringLiteral("The music library has no sources."));
    return sources.first();
}

void alertMissingPlaylist() {
    runAlert(QStringLiteral("Playlist Not Found"),
             QStringLiteral("The playlist you've selected doesn't exist anymore. Please choose "
                            "the playlist again from the menu."));
}

}  // namespace

const QStringList& audioExtensions() {
    static const QStringList list{"mp3", "aac", "m4a", "ogg",  "flac", "mpc", "spx",
                                  "wv",  "tta", "wav", "aiff", "mp4",  "asf"};
    return list;
}

std::optional<QList<MusicTrack>> gatherTracks(const TrackSource& source,
                                              const itunes::ApplicationProvider& application) {
    if (source.selectedMethod == 1)
        return folderTracks(source.folderPath);
    const auto app = application();
    if (source.selectedMethod == 0)
        return playlistTracks(source, *app);
    QList<MusicTrack> tracks;
    for (const auto& reference : app->selection())
        tracks.append(MusicTrack::withTrack(reference));
    return tracks;
}

std::optional<QList<MusicTrack>> folderTracks(const std::optional<QUrl>& folder) {
    if (!folder) {
        runAlert(QStringLiteral("No Folder"),
                 QStringLiteral("You didn't select a folder with music files to operate on."));
        return std::nullopt;
    }
    QList<MusicTrack> tracks;
    for (const QUrl& entry : dirContentsRecursive(*folder).value_or(QList<QUrl>{})) {
        const QString path = entry.toLocalFile();
        if (audioExtensions().contains(QFileInfo(path).suffix().toLower()))
            tracks.append(MusicTrack::withPath(path));
    }
    if (tracks.isEmpty()) {
        runAlert(QStringLiteral("No Files"),
                 QStringLiteral("The folder you have selected doesn't seem to contain music "
                                "files."));
        return std::nullopt;
    }
    return tracks;
}

std::optional<QList<MusicTrack>> playlistTracks(const TrackSource& source,
                                                itunes::Application& application) {
    if (source.selectedPlaylist < 0 || source.selectedPlaylist >= source.playlistIds.size()) {
        alertMissingPlaylist();
        return std::nullopt;
    }
    const auto playlist = playlistWithId(application, source.playlistIds.at(source.selectedPlaylist));
    if (!playlist) {
        alertMissingPlaylist();
        return std::nullopt;
    }
    QList<MusicTrack> tracks;
    for (const auto& reference : playlist->tracks())
        tracks.append(MusicTrack::withTrack(reference));
    return tracks;
}

QList<itunes::TrackPtr> selectedTracks(itunes::Application& application) {
    QList<itunes::TrackPtr> tracks;
    for (const auto& reference : application.selection())
        tracks.append(reference->get());
    return tracks;
}

PlaylistMenus readPlaylistMenus(itunes::Application& application) {
    PlaylistMenus menus;
    for (const itunes::PlaylistSummary& playlist : librarySource(application)->userPlaylistSummaries()) {
        menus.playlists.append(playlist.name);
        menus.playlistIds.append(playlist.persistentId);
        if (playlist.smart)
            continue;
        menus.editablePlaylists.append(playlist.name);
        menus.editablePlaylistIds.append(playlist.persistentId);
    }
    return menus;
}

itunes::PlaylistPtr playlistWithId(itunes::Application& application, const QString& persistentId) {
    itunes::PlaylistFilter filter;
    filter.persistentId = persistentId;
    const auto matches = librarySource(application)->userPlaylists(filter);
    return matches.isEmpty() ? nullptr : matches.first();
}

}  // namespace tessel
