#include "FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <filesystem>
#include <system_error>

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
    if (!isReadableFolder(path))
        return std::nullopt;
    namespace fs = std::filesystem;
    // The standard walker hands out the names' bytes, so a name that is not UTF-8 can be
    // counted instead of vanishing. It does not follow links to folders, so link loops end.
    const fs::path root(QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString());
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    FolderListing listing;
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string relative = it->path().lexically_relative(root).native();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString name =
            utf8.decode(QByteArrayView(relative.data(), qsizetype(relative.size())));
        if (utf8.hasError()) {
            ++listing.undecodableNames;
            it.disable_recursion_pending();
            continue;
        }
        listing.entries.append(name);
    }
    return listing;
}

}  // namespace tessel
