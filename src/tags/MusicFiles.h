// Which files are music files: the audio extensions the folder tools accept, and the music
// files below a folder.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

/// The 13 extensions the folder scan accepts, compared in lower case.
const QStringList& audioExtensions();

/// The music files below a folder: regular files (or links to one; never a pipe or a
/// device, which would block or never end) with one of the 13 extensions, at any depth, as
/// absolute paths in listing order, and how many entries had names that are not valid UTF-8.
struct MusicFiles {
    QStringList paths;
    int undecodableNames = 0;
};
/// Absent when the folder is missing or unreadable.
std::optional<MusicFiles> musicFilesBelow(const QString& folder);

}  // namespace tessel
