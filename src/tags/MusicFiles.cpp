#include "MusicFiles.h"

#include "foundation/FileHelpers.h"

#include <QDir>
#include <QFileInfo>

namespace tessel {

const QStringList& audioExtensions() {
    static const QStringList list{"mp3", "aac", "m4a", "ogg",  "flac", "mpc", "spx",
                                  "wv",  "tta", "wav", "aiff", "mp4",  "asf"};
    return list;
}

std::optional<MusicFiles> musicFilesBelow(const QString& folder) {
    // The listing is relative to the folder, which it reads right only when given absolute.
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    const auto listing = folderListingRecursive(absolute);
    if (!listing)
        return std::nullopt;
    MusicFiles files;
    files.undecodableNames = listing->undecodableNames;
    const QDir base(absolute);
    for (const QString& entry : listing->entries) {
        if (!audioExtensions().contains(QFileInfo(entry).suffix().toLower()))
            continue;
        const QString path = QDir::cleanPath(base.absoluteFilePath(entry));
        if (QFileInfo(path).isFile())  // follows links; false for pipes, devices, folders
            files.paths.append(path);
    }
    return files;
}

}  // namespace tessel
