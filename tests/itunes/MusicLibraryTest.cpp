// Opening library files: where the library lives, what a new file looks like, and files that
// must not be taken for a library.
#include "LibraryFixture.h"
#include "itunes/Connection.h"
#include "itunes/MusicLibrary.h"
#include "itunes/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <thread>
#include <vector>

#include <sqlite3.h>
#include <unistd.h>

namespace tessel {
namespace {

using test::LibraryTest;

qint64 pragma(itunes::Connection& connection, const char* query) {
    return connection.locked([&](sql::Database& db) {
        sql::Statement statement(db, query);
        return statement.step() ? statement.integer(0) : -1;
    });
}

void runSql(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

TEST_F(LibraryTest, TheLibraryPathComesFromTheOptionTheEnvironmentOrTheDataFolder) {
    qunsetenv("TESSEL_LIBRARY");
    EXPECT_TRUE(itunes::libraryPath().endsWith(u"/Tessel/library.sqlite"))
        << itunes::libraryPath().toStdString();
    qputenv("TESSEL_LIBRARY", "/tmp/from-environment.sqlite");
    EXPECT_EQ(itunes::libraryPath(), QStringLiteral("/tmp/from-environment.sqlite"));
    EXPECT_EQ(itunes::libraryPath(QStringLiteral("given.sqlite")), QStringLiteral("given.sqlite"));
    qunsetenv("TESSEL_LIBRARY");
}

TEST_F(LibraryTest, ANewLibraryIsCreatedWithItsFolder) {
    const QString path = temp.filePath(QStringLiteral("deep/er/lib.sqlite"));
    const auto provider = itunes::libraryProvider(path);
    const auto first = provider();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_NE(first, provider());  // obtained anew for each use
    ASSERT_EQ(first->sources().size(), 1);
    EXPECT_TRUE(first->sources().first()->userPlaylists().isEmpty());
    EXPECT_TRUE(first->selection().isEmpty());

    auto connection = itunes::Connection::open(path);
    EXPECT_EQ(pragma(*connection, "PRAGMA user_version"), itunes::schema::currentVersion());
    EXPECT_EQ(pragma(*connection, "PRAGMA foreign_keys"), 1);
    EXPECT_EQ(connection->locked([](sql::Database& db) {
        sql::Statement statement(db, "PRAGMA journal_mode");
        statement.step();
        return statement.text(0);
    }),
              QStringLiteral("wal"));
}

TEST_F(LibraryTest, FilesThatAreNoLibraryAreRefusedAndLeftAlone) {
    const QString text = temp.writeFile(QStringLiteral("notes.sqlite"), "just some text, no db");
    const QString foreign = temp.filePath(QStringLiteral("foreign.sqlite"));
    runSql(foreign, "CREATE TABLE contacts (name TEXT); INSERT INTO contacts VALUES ('x');");
    const QString newer = temp.filePath(QStringLiteral("newer.sqlite"));
    itunes::Connection::open(newer);
    runSql(newer, "PRAGMA user_version = 99");

    const QList<std::pair<QString, QString>> rows{
        {text, QStringLiteral("not a database")},
        {foreign, QStringLiteral("another program")},
        {newer, QStringLiteral("newer release")},
    };
    for (const auto& [path, reason] : rows) {
        const QByteArray before = test::fileBytes(path);
        try {
            itunes::libraryProvider(path)();
            ADD_FAILURE() << path.toStdString() << " was opened";
        } catch (const TesselError& error) {
            EXPECT_EQ(error.name(), errors::kScripting);
            EXPECT_TRUE(error.reason().contains(reason)) << error.reason().toStdString();
        }
        EXPECT_EQ(test::fileBytes(path), before) << path.toStdString();
    }
}

TEST_F(LibraryTest, ANewLibraryOpenedByManyAtOnceIsCreatedOnce) {
    constexpr int kOpeners = 4;
    for (int round = 0; round < 25; ++round) {
        const QString path = temp.filePath(QStringLiteral("race-%1.sqlite").arg(round));
        std::atomic<int> waiting{kOpeners};
        std::atomic<int> failures{0};
        std::vector<std::thread> openers;
        for (int i = 0; i < kOpeners; ++i)
            openers.emplace_back([&] {
                for (--waiting; waiting > 0;)
                    std::this_thread::yield();
                try {
                    itunes::Connection::open(path);
                } catch (const TesselError& error) {
                    ADD_FAILURE() << error.reason().toStdString();
                    ++failures;
                }
            });
        for (auto& opener : openers)
            opener.join();
        ASSERT_EQ(failures, 0) << "round " << round;
        auto connection = itunes::Connection::open(path);
        EXPECT_EQ(pragma(*connection, "PRAGMA user_version"), itunes::schema::currentVersion());
        EXPECT_EQ(pragma(*connection, "SELECT count(*) FROM sqlite_master WHERE name = 'tracks'"),
                  1);
    }
}

TEST_F(LibraryTest, AWriterWaitsForAnotherWritersTransaction) {
    importFixture();
    auto holder = itunes::Connection::open(libraryFile);
    const auto track = playlist(QStringLiteral("Mixed"))->tracks().first();
    std::thread later;
    holder->locked([&](sql::Database& db) {
        auto transaction = std::make_unique<sql::Transaction>(db);
        db.exec("UPDATE tracks SET genre = 'Held' WHERE name = 'Radio Stream'");
        later = std::thread([t = std::move(transaction)]() mutable {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            t->commit();
        });
    });
    // Waits through the busy timeout instead of failing.
    track->setProperty(QStringLiteral("artist"), QStringLiteral("After"));
    later.join();
    EXPECT_EQ(track->property(QStringLiteral("genre")), QStringLiteral("Held"));
    EXPECT_EQ(track->property(QStringLiteral("artist")), QStringLiteral("After"));
}

// A statement the connection keeps serves again after a run that failed, holds no read open
// between runs (another connection's change is seen), and is not lent twice at once.
TEST_F(LibraryTest, KeptStatementsServeAgainAfterAFailure) {
    const QString path = temp.filePath(QStringLiteral("kept.sqlite"));
    sql::Database db(path);
    db.exec("CREATE TABLE t (v INTEGER UNIQUE)");
    const auto insert = [&](int value) {
        sql::CachedStatement statement(db, "INSERT INTO t (v) VALUES (?)");
        statement->bind(1, value);
        statement->run();
    };
    const auto count = [&] {
        sql::CachedStatement statement(db, "SELECT count(*) FROM t");
        return statement->step() ? statement->integer(0) : -1;
    };
    insert(1);
    EXPECT_THROW(insert(1), TesselError);
    insert(2);
    EXPECT_EQ(count(), 2);
    runSql(path, "INSERT INTO t (v) VALUES (3)");
    EXPECT_EQ(count(), 3);

    sql::CachedStatement outer(db, "SELECT v FROM t ORDER BY v");
    ASSERT_TRUE(outer->step());
    {
        sql::CachedStatement inner(db, "SELECT v FROM t ORDER BY v");
        ASSERT_TRUE(inner->step());
        EXPECT_EQ(inner->integer(0), 1);
    }
    ASSERT_TRUE(outer->step());
    EXPECT_EQ(outer->integer(0), 2);
}

TEST_F(LibraryTest, ALibraryThatCannotBeWrittenIsStillRead) {
    importFixture();
    // A library whose folder holds only the database file, as on a read-only medium.
    const QString copy = temp.filePath(QStringLiteral("ro/library.sqlite"));
    QDir().mkpath(temp.filePath(QStringLiteral("ro")));
    itunes::Connection::open(libraryFile)->locked([&](sql::Database& db) {
        db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    });
    ASSERT_TRUE(QFile::copy(libraryFile, copy));

    const auto reading = itunes::Connection::open(copy, itunes::Connection::Use::Reading);
    EXPECT_EQ(pragma(*reading, "SELECT count(*) FROM tracks"), 6);
    try {
        reading->locked([](sql::Database& db) { db.exec("DELETE FROM tracks"); });
        ADD_FAILURE() << "a read-only library took a change";
    } catch (const TesselError& error) {
        EXPECT_TRUE(error.reason().contains(u"can only be read here"))
            << error.reason().toStdString();
    }
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not stop root";
    QFile::setPermissions(temp.filePath(QStringLiteral("ro")),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const auto any = itunes::Connection::open(copy);
    EXPECT_EQ(pragma(*any, "SELECT count(*) FROM playlists"), 7);
    QFile::setPermissions(temp.filePath(QStringLiteral("ro")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace
}  // namespace tessel
