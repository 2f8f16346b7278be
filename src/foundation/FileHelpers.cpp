#include "FileHelpers.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

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
    if (!isReadableFolder(path))
        return std::nullopt;
    // Absolute on both sides, so a relative folder gives the same relative entries.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QDir root(absolute);
    QStringList entries;
    // Without FollowSymlinks the iterator does not descend into linked folders.
    QDirIterator it(absolute, kAllEntries, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(root.relativeFilePath(it.next()));
    return entries;
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
