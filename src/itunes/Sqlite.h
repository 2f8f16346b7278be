// A thin RAII layer over the sqlite3 C interface: a connection, prepared statements with bound
// parameters, and a write transaction that rolls back unless committed. Every failure throws a
// scripting error whose reason names what was being done and SQLite's own message.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace tessel::sql {

class Statement;

class Database {
  public:
    enum class Access { ReadWrite, ReadOnly };

    /// Opens (creating when missing) the database file at path; ReadOnly opens an existing
    /// file for reading only. Throws when it cannot be opened; a file that is not a database
    /// is only noticed by the first statement.
    explicit Database(const QString& path, Access access = Access::ReadWrite);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool readOnly() const { return readOnly_; }
    sqlite3* handle() const { return db_; }

    /// Runs one or more statements without parameters or results; `doing` names the step
    /// in the error.
    void exec(const char* sql, const QString& doing = QStringLiteral("saving a change"));
    qint64 lastInsertId() const;
    /// Rows changed by the last INSERT, UPDATE or DELETE.
    int changes() const;
    bool inTransaction() const;

    /// A scripting error carrying SQLite's current message.
    [[noreturn]] void fail(const QString& doing) const;

  private:
    friend class CachedStatement;
    struct StatementCache;

    void openAs(int flags, const QByteArray& name);

    QString path_;
    bool readOnly_ = false;
    sqlite3* db_ = nullptr;
    // Declared last: its statements are finalized before the connection closes.
    std::unique_ptr<StatementCache> cache_;
};

class Statement {
  public:
    /// persistent: the statement is kept for many runs, which SQLite plans its memory for.
    Statement(Database& db, const char* sql, bool persistent = false);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    /// Binds by 1-based index: null, integer, double, text or bytes.
    Statement& bind(int index, std::nullptr_t);
    Statement& bind(int index, qint64 value);
    Statement& bind(int index, int value) { return bind(index, qint64(value)); }
    Statement& bind(int index, double value);
    Statement& bind(int index, const QString& value);
    /// An invalid or null variant binds null; numbers and text bind as themselves.
    Statement& bind(int index, const QVariant& value);
    template <typename T>
    Statement& bind(int index, const std::optional<T>& value) {
        return value ? bind(index, *value) : bind(index, nullptr);
    }

    /// Advances to the next row; false when there is none (the statement is done).
    bool step();
    /// Runs a statement that returns no rows.
    void run();
    /// Clears bindings and rewinds for another run.
    void reset();

    bool isNull(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    /// The column as an integer, a double, a text or an invalid QVariant for null.
    QVariant value(int column) const;

  private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
    QByteArray utf8_;  // a text being bound, keeping its room from one to the next
};

/// A prepared statement lent by its connection: prepared once for each text and kept for the
/// next request, reset (so it holds no read open) and given back when the handle ends, whatever
/// ended its run. A statement still lent out is not lent twice; a nested request of the same
/// text prepares another. Used under the connection's lock, like any statement.
class CachedStatement {
  public:
    CachedStatement(Database& db, std::string sql);
    ~CachedStatement();
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;

    Statement& operator*() const { return *statement_; }
    Statement* operator->() const { return statement_.get(); }

  private:
    Database& db_;
    std::string sql_;
    std::unique_ptr<Statement> statement_;
};

/// A write transaction (BEGIN IMMEDIATE, so waiting for another writer goes through the busy
/// timeout instead of failing halfway). Rolled back on destruction unless committed.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

  private:
    Database& db_;
    bool done_ = false;
};

}  // namespace tessel::sql
