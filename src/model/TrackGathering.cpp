#include "TrackGathering.h"

#include "tags/MusicFiles.h"

namespace tessel {

namespace {

std::shared_ptr<itunes::Source> librarySource(itunes::Application& application) {
    const auto sources = application.sources();
    if (sources.isEmpty())
        throw itunes::scriptingError(QStringLiteral("The music library has no sources."));
    return sources.first();
}

TesselError missingPlaylist() {
    return TesselError(QStringLiteral("Playlist Not Found"),
                       QStringLiteral("The playlist you've selected doesn't exist anymore. Please "
                                      "choose the playlist again from the menu."));
}

GatheredTracks tracksOf(const QList<itunes::TrackPtr>& references) {
    GatheredTracks gathered;
    gathered.tracks.reserve(references.size());
    for (const auto& reference : references)
        gathered.tracks.append(MusicTrack::withTrack(reference));
    return gathered;
}

TesselError noFiles() {
    return TesselError(QStringLiteral("No Files"),
                       QStringLiteral("The folder you have selected doesn't seem to contain "
                                      "music files."));
}

}  // namespace

GatheredTracks gatherTracks(const TrackSource& source,
                            const itunes::ApplicationProvider& application,
                            const TrackFound& found) {
    if (source.selectedMethod == 1)
        return folderTracks(source.folderPath, found);
    const auto app = application();
    if (source.selectedMethod == 0)
        return tellEachTrack(playlistTracks(source, *app), found);
    return tellEachTrack(tracksOf(app->selection()), found);
}

GatheredTracks folderTracks(const std::optional<QUrl>& folder, const TrackFound& found) {
    if (!folder) {
        throw TesselError(QStringLiteral("No Folder"),
                          QStringLiteral("You didn't select a folder with music files to operate "
                                         "on."));
    }
    if (!folder->isLocalFile())
        throw noFiles();
    MusicFileWalker files(folder->toLocalFile());
    GatheredTracks gathered;
    bool stopped = false;
    while (std::optional<QString> path = files.next()) {
        gathered.tracks.append(MusicTrack::withPath(std::move(*path)));
        if (found && !found(gathered.tracks.constLast())) {
            stopped = true;
            break;
        }
    }
    if (gathered.tracks.isEmpty() && !stopped)
        throw noFiles();
    for (int i = 0; i < files.undecodableNames(); ++i)
        passOver(gathered.passedOver, QStringLiteral("file whose name is not valid UTF-8"),
                 QStringLiteral("files whose names are not valid UTF-8"));
    return gathered;
}

GatheredTracks playlistTracks(const TrackSource& source, itunes::Application& application) {
    if (source.selectedPlaylist < 0 || source.selectedPlaylist >= source.playlistIds.size())
        throw missingPlaylist();
    const auto playlist =
        playlistWithId(application, source.playlistIds.at(source.selectedPlaylist));
    if (!playlist)
        throw missingPlaylist();
    return tracksOf(playlist->tracks());
}

QList<itunes::TrackPtr> selectedTracks(itunes::Application& application) {
    QList<itunes::TrackPtr> tracks;
    for (const auto& reference : application.selection())
        tracks.append(reference->get());
    return tracks;
}

GatheredTracks tellEachTrack(GatheredTracks gathered, const TrackFound& found) {
    if (!found)
        return gathered;
    for (qsizetype i = 0; i < gathered.tracks.size(); ++i) {
        if (!found(gathered.tracks.at(i))) {
            gathered.tracks.remove(i + 1, gathered.tracks.size() - i - 1);
            break;
        }
    }
    return gathered;
}

PlaylistMenus readPlaylistMenus(itunes::Application& application) {
    PlaylistMenus menus;
    for (const itunes::PlaylistSummary& playlist :
         librarySource(application)->userPlaylistSummaries()) {
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
