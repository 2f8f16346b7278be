// Folder listings and existence tests. They never throw: an error gives an absent result.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace tessel {

/// True when a file or folder exists at path (a dangling symlink does not count).
bool fileExists(const QString& path);
/// True only for a file URL whose path exists.
bool fileExists(const QUrl& url);

/// The names of the folder's direct entries, hidden ones included, in listing order;
/// absent when the folder is missing or unreadable.
std::optional<QStringList> dirContents(const QString& path);
/// The entry URLs of the folder at a file URL; absent for other URLs and on error.
std::optional<QList<QUrl>> dirContents(const QUrl& url);

/// Every entry below the folder at any depth as paths relative to it, in enumeration order.
/// Symbolic links to folders are listed but not descended into, so link loops end; unreadable
/// subfolders are listed and skipped. Absent when the folder itself is missing or unreadable.
std::optional<QStringList> dirContentsRecursive(const QString& path);

/// dirContentsRecursive with a count of what it leaves out: entries whose names are not valid
/// UTF-8 have no text form, so they cannot be listed (nor anything below them).
struct FolderListing {
    QStringList entries;
    int undecodableNames = 0;
};
std::optional<FolderListing> folderListingRecursive(const QString& path);
/// The same for a file URL, as full file URLs; absent for other URLs and on error.
std::optional<QList<QUrl>> dirContentsRecursive(const QUrl& url);

}  // namespace tessel
