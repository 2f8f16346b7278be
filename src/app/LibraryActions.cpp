// Filling the library from the desktop app: a Library.xml export or a folder of music files,
// each in the background under a progress sheet that can stop it.
#include "AppDelegate.h"

#include "foundation/StringHelpers.h"
#include "itunes/LibraryApplication.h"
#include "itunes/LibraryImport.h"
#include "model/TrackGathering.h"
#include "support/FormattedString.h"
#include "support/Presenter.h"
#include "support/Tasks.h"

#include <QDebug>

namespace tessel {

namespace {

const QString kImportingLibrary = QStringLiteral("Importing the library…");
const QString kAddingFolder = QStringLiteral("Adding the folder…");
const QString kImportTitle = QStringLiteral("Library Updated");

std::shared_ptr<itunes::Connection> connectionOf(const itunes::ApplicationProvider& library) {
    const auto application = std::dynamic_pointer_cast<itunes::LibraryApplication>(library());
    if (!application)
        throw itunes::scriptingError(QStringLiteral("This music library cannot be filled."));
    return application->connection();
}

// The playlist of a library window's choice; gone since is an error.
itunes::PlaylistPtr existingPlaylist(itunes::Application& library, const QString& persistentId) {
    const itunes::PlaylistPtr playlist = playlistWithId(library, persistentId);
    if (!playlist)
        throw itunes::scriptingError(
            QStringLiteral("The playlist no longer exists in the music library."));
    return playlist;
}

QString xmlCounts(const itunes::XmlImportSummary& summary) {
    QString counts = formattedString(
        QStringLiteral("Tracks: %i added, %i updated. Playlists: %i added, %i updated."),
        summary.tracksAdded, summary.tracksUpdated, summary.playlistsAdded,
        summary.playlistsUpdated);
    if (summary.entriesSkipped == 1)
        counts += QStringLiteral(" 1 playlist entry named a track the file does not hold.");
    else if (summary.entriesSkipped > 1)
        counts += formattedString(
            QStringLiteral(" %i playlist entries named tracks the file does not hold."),
            summary.entriesSkipped);
    return counts;
}

QString folderCounts(const itunes::FolderImportSummary& summary,
                     const std::optional<QString>& playlist) {
    QString counts = formattedString(QStringLiteral("Tracks: %i added, %i already in the library."),
                                     summary.tracksAdded, summary.tracksPresent);
    if (playlist)
        counts += formattedString(QStringLiteral(" %i added to the playlist “%@”."),
                                  summary.entriesAdded, *playlist);
    return counts;
}

}  // namespace

void AppDelegate::performImportLibrary(const QString& path) {
    runImport(kImportingLibrary, [path](itunes::Connection& connection, ProgressSink& progress) {
        return xmlCounts(itunes::importLibraryXml(connection, path, &progress));
    });
}

void AppDelegate::performAddFolder(const QString& folder, const std::optional<QString>& playlist) {
    runImport(kAddingFolder,
              [folder, playlist](itunes::Connection& connection, ProgressSink& progress) {
                  return folderCounts(itunes::importFolder(connection, folder, playlist, &progress),
                                      playlist);
              });
}

// The worker catches everything: the import's own errors say what was wrong with the input.
void AppDelegate::runImport(const QString& title,
                            std::function<QString(itunes::Connection&, ProgressSink&)> import) {
    progress_.begin(title, true);
    runInBackground([this, import = std::move(import), library = application_]() {
        QString counts;
        std::optional<TesselError> error;
        try {
            counts = import(*connectionOf(library), progress_);
        } catch (const TesselError& failure) {
            error = failure;
        } catch (const std::exception& failure) {
            error = TesselError(QStringLiteral("Import Failed"),
                                QString::fromLocal8Bit(failure.what()));
        }
        onMain([this, counts, error] { finishImport(counts, error); });
    });
}

void AppDelegate::finishImport(const QString& counts, const std::optional<TesselError>& error) {
    progress_.end();
    const bool stopped = error && error->name() == itunes::kImportCancelled;
    if (error && !stopped) {
        qWarning().noquote() << error->description();
        showAlert(okAlert(error->name(), error->reason()));
    } else if (!stopped) {
        showAlert(okAlert(kImportTitle, counts));
    }
    refreshPlaylists();
    emit runEnded(!error);
}

bool AppDelegate::editLibrary(const std::function<void(itunes::Application&)>& edit) {
    bool done = false;
    try {
        edit(*application_());
        done = true;
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
        showAlert(okAlert(error.name(), sentence(error.reason())));
    }
    refreshPlaylists();
    return done;
}

std::optional<QString> AppDelegate::makePlaylist(const QString& name) {
    QString id;
    if (!editLibrary([&](itunes::Application& library) {
            id = library.sources().first()->makePlaylist(name)->persistentId();
        }))
        return std::nullopt;
    return id;
}

bool AppDelegate::renamePlaylist(const QString& persistentId, const QString& name) {
    return editLibrary([&](itunes::Application& library) {
        existingPlaylist(library, persistentId)->setName(name);
    });
}

bool AppDelegate::deletePlaylist(const QString& persistentId) {
    return editLibrary([&](itunes::Application& library) {
        existingPlaylist(library, persistentId)->deletePlaylist();
    });
}

bool AppDelegate::selectTracks(const QList<itunes::TrackPtr>& tracks) {
    return editLibrary([&](itunes::Application& library) { library.select(tracks); });
}

bool AppDelegate::addSelectionToPlaylist(const QString& persistentId) {
    return editLibrary([&](itunes::Application& library) {
        const itunes::PlaylistPtr target = existingPlaylist(library, persistentId);
        for (const itunes::TrackPtr& track : library.selection())
            track->duplicateTo(*target);
    });
}

bool AppDelegate::removeSelectionFromPlaylist(const QString& persistentId) {
    return editLibrary([&](itunes::Application& library) {
        const itunes::PlaylistPtr playlist = existingPlaylist(library, persistentId);
        if (playlist->smart())  // through such a list a removal could leave the library
            throw itunes::scriptingError(formattedString(
                QStringLiteral("The playlist “%@” cannot be changed by hand."), playlist->name()));
        for (const itunes::TrackPtr& track : library.selection())
            track->deleteTrack();
    });
}

void AppDelegate::refreshSelectionCount() {
    try {
        const int count = application_()->selectionCount();
        if (count == selectedTrackCount_)
            return;
        selectedTrackCount_ = count;
        emit selectedTrackCountChanged();
    } catch (const TesselError& error) {
        qWarning().noquote() << QStringLiteral("The selection could not be read:")
                             << error.description();
    }
}

void AppDelegate::cancelRun() {
    progress_.cancel();
}

}  // namespace tessel
