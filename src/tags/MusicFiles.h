// Which files are music files: the audio extensions the folder tools accept, and the music
// files below a folder.
#pragma once

#include "foundation/FolderWalker.h"

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

/// The music files below a folder one at a time, as musicFilesBelow lists them, so that the
/// first ones can be opened while a large folder is still being listed.
class MusicFileWalker {
  public:
    /// isOpen() is false, and next() gives nothing, when the folder is missing or unreadable.
    explicit MusicFileWalker(const QString& folder);

    bool isOpen() const { return walker_.isOpen(); }

    /// The absolute path of the next music file; absent at the end.
    std::optional<QString> next();

    /// The entries passed over so far because their names are not valid UTF-8.
    int undecodableNames() const { return walker_.undecodableNames(); }

  private:
    FolderWalker walker_;
    QString base_;  // the folder's clean absolute path, ending in a separator
};

}  // namespace tessel
