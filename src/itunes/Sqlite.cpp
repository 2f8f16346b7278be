#include "Sqlite.h"

#include "ITunes.h"
#include "support/FormattedString.h"

#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QUrl>

#include <sqlite3.h>

#include <unordered_map>

namespace tessel::sql {

namespace {

TesselError sqliteError(const QString& path, const QString& doing, const char* message) {
    return itunes::scriptingError(
        formattedString(QStringLiteral("The music library “%@” failed while %@: %@."), path, doing,
                        QString::fromUtf8(message ? message : "unknown error")));
}

// SQLite keeps statistics of its memory, taking a process-wide lock on every allocation; no one
// reads them, and a large import allocates millions of times.
void configureOnce() {
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    (void)configured;
}

// Beyond this many idle statements a returned one is finalized: the texts a program runs are
// few, and this bounds a connection that is given many different ones.
constexpr std::size_t kMaxIdleStatements = 64;

}  // namespace

// The idle prepared statements of a connection, by their text.
struct Database::StatementCache {
    std::unordered_multimap<std::string, std::unique_ptr<Statement>> idle;
};

Database::Database(const QString& path, Access access)
    : path_(path),
      readOnly_(access == Access::ReadOnly),
      cache_(std::make_unique<StatementCache>()) {
    if (!readOnly_) {
        openAs(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, QFile::encodeName(path));
        return;
    }
    // A library on a read-only medium has no room for the files a shared read needs; marked
    // immutable, it is read as it stands.
    openAs(SQLITE_OPEN_READONLY, QFile::encodeName(path));
    if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        const QByteArray uri =
            QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + "?immutable=1";
        openAs(SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, uri);
    }
}

void Database::openAs(int flags, const QByteArray& name) {
    configureOnce();
    flags |= SQLITE_OPEN_FULLMUTEX;
    const int rc = sqlite3_open_v2(name.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db_);
        db_ = nullptr;
        throw sqliteError(path_, QStringLiteral("opening"), message.toUtf8().constData());
    }
    sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() {
    cache_.reset();
    // Statements and transactions end before the connection; should one outlive it, the
    // connection closes once it is finalized.
    sqlite3_close_v2(db_);
}

void Database::exec(const char* sql, const QString& doing) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(doing);
}

qint64 Database::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int Database::changes() const {
    return sqlite3_changes(db_);
}

bool Database::inTransaction() const {
    return sqlite3_get_autocommit(db_) == 0;
}

void Database::fail(const QString& doing) const {
    const int code = sqlite3_errcode(db_) & 0xff;
    if (code == SQLITE_READONLY) {
        throw itunes::scriptingError(formattedString(
            QStringLiteral("The music library “%@” can only be read here (a read-only folder or "
                           "medium), so nothing can be changed in it."),
            path_));
    }
    throw sqliteError(path_, doing, sqlite3_errmsg(db_));
}

Statement::Statement(Database& db, const char* sql, bool persistent) : db_(db) {
    if (sqlite3_prepare_v3(db.handle(), sql, -1, persistent ? SQLITE_PREPARE_PERSISTENT : 0, &stmt_,
                           nullptr) != SQLITE_OK)
        db.fail(QStringLiteral("reading"));
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement& Statement::bind(int index, std::nullptr_t) {
    if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
        db_.fail(QStringLiteral("binding a value"));
    return *this;
}

Statement& Statement::bind(int index, qint64 value) {
    if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK)
        db_.fail(QStringLiteral("binding a value"));
    return *this;
}

Statement& Statement::bind(int index, double value) {
    if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK)
        db_.fail(QStringLiteral("binding a value"));
    return *this;
}

// SQLite copies the text (SQLITE_TRANSIENT), so one buffer serves every text bound.
Statement& Statement::bind(int index, const QString& value) {
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    utf8_.resize(toUtf8.requiredSpace(value.size()));
    const char* end = toUtf8.appendToBuffer(utf8_.data(), value);
    if (sqlite3_bind_text(stmt_, index, utf8_.constData(), int(end - utf8_.constData()),
                          SQLITE_TRANSIENT) != SQLITE_OK)
        db_.fail(QStringLiteral("binding a value"));
    return *this;
}

Statement& Statement::bind(int index, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return bind(index, nullptr);
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::Bool:
            return bind(index, value.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return bind(index, value.toDouble());
        default:
            return bind(index, value.toString());
    }
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    db_.fail(sqlite3_stmt_readonly(stmt_) ? QStringLiteral("reading")
                                          : QStringLiteral("saving a change"));
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

qint64 Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

QString Statement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(stmt_, column));
}

QVariant Statement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER:
            return integer(column);
        case SQLITE_FLOAT:
            return real(column);
        case SQLITE_NULL:
            return {};
        default:
            return text(column);
    }
}

CachedStatement::CachedStatement(Database& db, std::string sql) : db_(db), sql_(std::move(sql)) {
    auto& idle = db_.cache_->idle;
    const auto found = idle.find(sql_);
    if (found != idle.end()) {
        statement_ = std::move(found->second);
        idle.erase(found);
    } else {
        statement_ = std::make_unique<Statement>(db_, sql_.c_str(), true);
    }
}

CachedStatement::~CachedStatement() {
    statement_->reset();
    auto& idle = db_.cache_->idle;
    if (idle.size() < kMaxIdleStatements)
        idle.emplace(std::move(sql_), std::move(statement_));
}

Transaction::Transaction(Database& db) : db_(db) {
    db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (!done_ && db_.inTransaction())
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    db_.exec("COMMIT");
    done_ = true;
}

}  // namespace tessel::sql
