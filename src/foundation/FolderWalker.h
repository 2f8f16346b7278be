// A folder's entries at any depth, one at a time, so that the first ones can be used while the
// rest of a large folder is still being listed.
#pragma once

#include <QString>

#include <filesystem>
#include <optional>
#include <system_error>

namespace tessel {

/// Every entry below a folder at any depth as a path relative to it, in enumeration order.
/// Symbolic links to folders are given but not descended into, so link loops end; unreadable
/// subfolders are given and skipped. An entry whose name is not valid UTF-8 has no text form:
/// it is counted and passed over, with anything below it.
class FolderWalker {
  public:
    /// isOpen() is false, and next() gives nothing, when the folder is missing or unreadable.
    explicit FolderWalker(const QString& folder);

    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    bool isOpen() const { return open_; }

    /// The next entry; absent at the end.
    std::optional<QString> next();

    /// Whether the entry next() gave last is a regular file or a link to one: never a folder,
    /// a pipe or a device. The listing usually knows, so most entries cost no look of their own.
    bool isFile() const;

    /// The entries passed over so far because their names are not valid UTF-8.
    int undecodableNames() const { return undecodableNames_; }

  private:
    // The entry's path below the folder; absent when its name is not valid UTF-8.
    std::optional<QString> relativeName() const;

    bool open_ = false;
    bool started_ = false;
    std::size_t rootLength_ = 0;  // how much of an entry's path is the folder's own
    std::error_code error_;
    std::filesystem::recursive_directory_iterator it_;
    int undecodableNames_ = 0;
};

}  // namespace tessel
