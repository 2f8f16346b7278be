#include "FileHelpers.h"

#include <QDir>
#include <QStringDecoder>
#include <QFile>
#include <QFileInfo>

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

QList<QUrl> urlsBelow(const QUrl& folder, const QStringList& relativePaths) {
    QString base = folder.toLocalFile();
    if (!base.endsWith(u'/'))
        base += u'/';
    QList<QUrl> urls;
    urls.reserve(relativePaths.size());
    for (const QString& relative : relativePaths)
        urls.append(QUrl::fromLocalFile(base + relative));
    return urls;
}

}  // namespace

bool fileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool fileExists(const QUrl& url) {
    return url.isLocalFile() && fileExists(url.toLocalFile());
}

std::optional<QStringList> dirContents(const QString& path) {
    if (!isReadableFolder(path))
        return std::nullopt;
    return QDir(path).entryList(kAllEntries, QDir::Unsorted);
}

std::optional<QList<QUrl>> dirContents(const QUrl& url) {
    if (!url.isLocalFile())
        return std::nullopt;
    const auto names = dirContents(url.toLocalFile());
    if (!names)
        return std::nullopt;
    return urlsBelow(url, *names);
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
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied,
                                        error);
    FolderListing listing;
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string relative = it->path().lexically_relative(root).native();
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString name = utf8.decode(QByteArrayView(relative.data(), qsizetype(relative.size())));
        if (utf8.hasError()) {
            ++listing.undecodableNames;
            it.disable_recursion_pending();
            continue;
        }
        listing.entries.append(name);
    }
    return listing;
}

std::optional<QList<QUrl>> dirContentsRecursive(const QUrl& url) {
    if (!url.isLocalFile())
        return std::nullopt;
    const auto relative = dirContentsRecursive(url.toLocalFile());
    if (!relative)
        return std::nullopt;
    return urlsBelow(url, *relative);
}

}  // namespace tessel
