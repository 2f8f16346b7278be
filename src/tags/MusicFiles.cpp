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

namespace {

// What follows the last dot of the entry's own name; empty when it has none.
QStringView suffixOf(const QString& entry) {
    const QStringView name = QStringView(entry).mid(entry.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.mid(dot + 1);
}

}  // namespace

std::optional<MusicFiles> musicFilesBelow(const QString& folder) {
    MusicFileWalker walker(folder);
    if (!walker.isOpen())
        return std::nullopt;
    MusicFiles files;
    while (auto path = walker.next())
        files.paths.append(*path);
    files.undecodableNames = walker.undecodableNames();
    return files;
}

// The walk is relative to the folder, which it reads right only when given absolute.
MusicFileWalker::MusicFileWalker(const QString& folder)
    : walker_(folder), base_(QDir::cleanPath(QFileInfo(folder).absoluteFilePath())) {
    if (!base_.endsWith(u'/'))
        base_.append(u'/');
}

std::optional<QString> MusicFileWalker::next() {
    while (auto entry = walker_.next()) {
        const QStringView suffix = suffixOf(*entry);
        if (suffix.isEmpty() || !audioExtensions().contains(suffix.toString().toLower()))
            continue;
        if (walker_.isFile())  // follows links; false for pipes, devices, folders
            return base_ + *entry;
    }
    return std::nullopt;
}

}  // namespace tessel
