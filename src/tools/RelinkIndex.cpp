#include "RelinkIndex.h"

#include "tags/FileTags.h"
#include "tags/MusicFiles.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace tessel {

namespace {

QString keyOf(const QString& title, const QString& album) {
    return title + QChar(0x1f) + album;
}

// Progress is reported about every hundredth of the files, so a large folder does not flood
// whoever shows it.
bool reportAt(int done, int count) {
    const int step = std::max(1, count / 100);
    return done == 1 || done == count || done % step == 0;
}

}  // namespace

RelinkIndex RelinkIndex::build(const QString& folder, const Progress& progress,
                               const std::atomic<bool>* cancel) {
    RelinkIndex index;
    const std::optional<MusicFiles> files = musicFilesBelow(folder);
    if (!files)
        return index;
    const int count = int(files->paths.size());
    for (int i = 0; i < count; ++i) {
        if (cancel && cancel->load())
            break;
        const QString& path = files->paths.at(i);
        const QString fileName = QFileInfo(path).fileName();
        if (progress && reportAt(i + 1, count))
            progress(i + 1, count, fileName);
        const filetags::FileIdentity identity = filetags::readIdentity(path);
        index.add({path, fileName, identity.album, identity.title, identity.artists});
    }
    return index;
}

QList<RelinkCandidate> RelinkIndex::find(const QString& artist, const QString& title,
                                         const QString& album) const {
    QList<RelinkCandidate> found;
    if (artist.isEmpty() || title.isEmpty())
        return found;
    for (int i : byTitleAndAlbum_.value(keyOf(title, album))) {
        if (files_.at(i).artists.contains(artist))
            found.append(files_.at(i));
    }
    return found;
}

void RelinkIndex::add(RelinkCandidate candidate) {
    byTitleAndAlbum_[keyOf(candidate.title, candidate.album)].append(int(files_.size()));
    files_.append(std::move(candidate));
}

}  // namespace tessel
