#include "Connection.h"

#include "Schema.h"
#include "WriteJournal.h"

#include <QDebug>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace tessel::itunes {

namespace {

QString preparedPath(const QString& path) {
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    return info.absoluteFilePath();
}

// An existing library whose file or folder cannot be written (a read-only folder or medium;
// a read-only mount stops even the superuser). A missing library is created as usual.
bool cannotWrite(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    return ::access(QFile::encodeName(info.absoluteFilePath()).constData(), W_OK) != 0 ||
           ::access(QFile::encodeName(info.absolutePath()).constData(), W_OK) != 0;
}

}  // namespace

Connection::Connection(const QString& path, sql::Database::Access access)
    : db_(access == sql::Database::Access::ReadOnly ? QFileInfo(path).absoluteFilePath()
                                                    : preparedPath(path),
          access) {
    const QString canonical = QFileInfo(db_.path()).canonicalFilePath();
    libraryId_ = canonical.isEmpty() ? db_.path() : canonical;
}

std::shared_ptr<Connection> Connection::open(const QString& path, Use use) {
    const auto access = use == Use::Reading || cannotWrite(path) ? sql::Database::Access::ReadOnly
                                                                 : sql::Database::Access::ReadWrite;
    auto connection = std::make_shared<Connection>(path, access);
    connection->locked([](sql::Database& db) {
        schema::prepare(db);
        // Changes a killed process left between the library and a file are settled now.
        if (!db.readOnly()) {
            for (const QString& problem : journal::reconcile(db))
                qWarning().noquote() << problem;
        }
    });
    return connection;
}

}  // namespace tessel::itunes
