#include "Connection.h"

#include "Schema.h"

#include <QDir>
#include <QFileInfo>

namespace tessel::itunes {

namespace {

QString preparedPath(const QString& path) {
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    return info.absoluteFilePath();
}

}  // namespace

Connection::Connection(const QString& path) : db_(preparedPath(path)) {
    const QString canonical = QFileInfo(db_.path()).canonicalFilePath();
    libraryId_ = canonical.isEmpty() ? db_.path() : canonical;
}

std::shared_ptr<Connection> Connection::open(const QString& path) {
    auto connection = std::make_shared<Connection>(path);
    connection->locked([](sql::Database& db) { schema::prepare(db); });
    return connection;
}

}  // namespace tessel::itunes
