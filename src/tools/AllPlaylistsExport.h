// Every editable playlist of the library saved at once into one folder, one file per
// playlist, or only the playlists inside one folder of the library. File names come from the
// playlists' names, made safe for any file system and distinct from each other.
#pragma once

#include "PlaylistExport.h"
#include "itunes/ITunes.h"
#include "support/ProgressSink.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

namespace playlistfiles {

/// A file name for a playlist called name: "/" and "\" become "-", control characters
/// spaces, leading dots and spaces go, the length stays within what file systems take; an
/// empty result is "Playlist". extension is added after a dot.
QString safeFileName(const QString& name, const QString& extension);

/// Safe names for the playlists called names, in order, distinct even where letter case is
/// not told apart: the second "Mix" becomes "Mix (2)".
QStringList distinctFileNames(const QStringList& names, const QString& extension);

}  // namespace playlistfiles

class AllPlaylistsExport {
  public:
    struct Options {
        PlaylistExport::Options format;  // format, path style and music folder; no name
        QString saveFolder;              // where the files go
        QString chosenPlaylistId;        // a folder of playlists limits the export to it
    };

    struct Summary {
        int playlists = 0;  // files written
        int entries = 0;
        int leftOut = 0;  // dead tracks left out
        /// The error that ended the run before the last playlist; the files written before it
        /// stay.
        std::optional<TesselError> stoppedBy = std::nullopt;
    };

    explicit AllPlaylistsExport(Options options);

    /// The checks of the single export, and a save folder that exists.
    std::optional<AlertRequest> validate() const;

    /// Writes the files, each through a temporary file renamed into place; progress
    /// "%i/%i - %@" per playlist. A library that cannot be read or a file that cannot be
    /// written ends the run there.
    Summary run(itunes::Application& application, ProgressSink& progress) const;

  private:
    QList<itunes::PlaylistPtr> chosenPlaylists(itunes::Application& application) const;
    void exportOne(const itunes::Playlist& playlist, const QString& path, Summary& summary) const;

    Options options_;
};

}  // namespace tessel
