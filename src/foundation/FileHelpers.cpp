#include "FileHelpers.h"

#include "FolderWalker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessel {

namespace {

constexpr QDir::Filters kAllEntries =
    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool isReadableFolder(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

std::optional<QStringList> dirContents(const QString& path) {
    if (!isReadableFolder(path))
        return std::nullopt;
    return QDir(path).entryList(kAllEntries, QDir::Unsorted);
}

std::optional<QStringList> dirContentsRecursive(const QString& path) {
    auto listing = folderListingRecursive(path);
    if (!listing)
        return std::nullopt;
    return std::move(listing->entries);
}

std::optional<FolderListing> folderListingRecursive(const QString& path) {
    FolderWalker walker(path);
    if (!walker.isOpen())
        return std::nullopt;
    FolderListing listing;
    while (auto entry = walker.next())
        listing.entries.append(*entry);
    listing.undecodableNames = walker.undecodableNames();
    return listing;
}

namespace {

QString systemReason(int error) {
    return QString::fromStdString(std::error_code(error, std::generic_category()).message());
}

}  // namespace

std::optional<QString> moveWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return std::nullopt;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return systemReason(errno);
    // A file system that cannot refuse to replace in the rename itself: a hard link refuses an
    // existing name, then the old name goes.
    if (::link(source.constData(), target.constData()) == 0) {
        if (::unlink(source.constData()) == 0)
            return std::nullopt;
        const int error = errno;
        ::unlink(target.constData());
        return systemReason(error);
    }
    if (errno == EEXIST)
        return systemReason(errno);
    // Nor hard links (FAT and the like): checked just before the rename.
    struct stat present {};
    if (::lstat(target.constData(), &present) == 0)
        return systemReason(EEXIST);
    if (::rename(source.constData(), target.constData()) == 0)
        return std::nullopt;
    return systemReason(errno);
}

}  // namespace tessel
