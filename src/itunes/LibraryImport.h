// Filling the library: from the "Library.xml" export of a music library, and from a folder of
// music files. Each import is one transaction: when it fails, the library is as before.
#pragma once

#include "Connection.h"
#include "support/ProgressSink.h"
#include "support/TesselError.h"

#include <QString>

#include <optional>

namespace tessel::itunes {

/// The error of a failed import ("Import Failed" with the reason).
TesselError importError(const QString& reason);
/// The name of the error an import throws when its progress sink asks it to stop.
inline const QString kImportCancelled = QStringLiteral("Import Cancelled");
/// Throws the cancellation error when the sink asks the import to stop.
void stopWhenCancelled(const ProgressSink* progress);

struct XmlImportSummary {
    int tracksAdded = 0;
    int tracksUpdated = 0;
    int playlistsAdded = 0;
    int playlistsUpdated = 0;
    int entriesSkipped = 0;  // playlist entries naming a track the file does not hold
};

/// Imports a Library.xml. Tracks and playlists already in the library (same persistent ID)
/// are updated rather than added again; an updated playlist takes the file's entries, and a
/// track keeps a location that leads to a file when the export's leads nowhere (its dead
/// track was re-linked since). The master library list is skipped. Throws importError for a file
/// that cannot be read, is not well-formed (naming the line) or is not a library export. Progress
/// lines go to progress.
XmlImportSummary importLibraryXml(Connection& connection, const QString& path,
                                  ProgressSink* progress = nullptr);

struct FolderImportSummary {
    int tracksAdded = 0;
    int tracksPresent = 0;  // files already in the library, by path
    int entriesAdded = 0;   // entries added to the playlist
};

/// Adds every music file below the folder (the 13 extensions, any depth, in path order) as a
/// file track with its tags, duration and bit rate; a file already in the library is not added
/// again. With a playlist (its persistent ID, or its name), the tracks are appended to that
/// user playlist (a new one of that name when there is none), skipping those it already holds.
/// Throws importError when the folder cannot be read, the playlist cannot be edited, or
/// several playlists have that name.
FolderImportSummary importFolder(Connection& connection, const QString& folder,
                                 const std::optional<QString>& playlist = std::nullopt,
                                 ProgressSink* progress = nullptr);

/// The file path of a "Location" address of a library export: percent-decoded; "localhost"
/// dropped, another host kept as //host/…, and Windows drive paths kept as "C:/…". Addresses
/// of other schemes are returned unchanged.
QString pathFromLocation(const QString& location);

}  // namespace tessel::itunes
