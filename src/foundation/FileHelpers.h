// Folder listings. They never throw: an error gives an absent result.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tessel {

/// The names of the folder's direct entries, hidden ones included, in listing order;
/// absent when the folder is missing or unreadable.
std::optional<QStringList> dirContents(const QString& path);

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

/// Renames the file at from to to, on one file system, never replacing what is at to: the
/// check and the rename are one step of the system where it can do that. Returns the system's
/// reason when nothing was moved, none when the file was moved.
std::optional<QString> moveWithoutReplacing(const QString& from, const QString& to);

}  // namespace tessel
