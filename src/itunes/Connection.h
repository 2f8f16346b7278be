// One open library database shared by every object reached through one application object.
// The objects are created on one thread and used on others (gathered on a worker, applied on
// another, read on the main thread), so each use of the connection holds its lock.
#pragma once

#include "Sqlite.h"

#include <memory>
#include <mutex>

namespace tessel::itunes {

class Connection {
  public:
    /// What the opener means to do with the library.
    enum class Use {
        Any,      // read and write; a library that cannot be written is opened for reading
        Reading,  // read only: never writes, so it works on a read-only library too
    };

    /// Opens and prepares the library at path (creating it, and its folder, when missing).
    /// Throws a scripting error when the file cannot be used as a library.
    static std::shared_ptr<Connection> open(const QString& path, Use use = Use::Any);

    /// Runs work with the database while holding the connection's lock.
    template <typename Work>
    auto locked(Work&& work) {
        const std::lock_guard lock(mutex_);
        return work(db_);
    }

    /// The library file's canonical path: two connections to one file name the same library.
    const QString& libraryId() const { return libraryId_; }

    Connection(const QString& path, sql::Database::Access access);

  private:
    sql::Database db_;
    QString libraryId_;
    std::recursive_mutex mutex_;
};

using ConnectionPtr = std::shared_ptr<Connection>;

}  // namespace tessel::itunes
