#include "Schema.h"

#include "ITunes.h"
#include "support/FormattedString.h"

#include <QElapsedTimer>
#include <QThread>

#include <sqlite3.h>

#include <iterator>

namespace tessel::itunes::schema {

namespace {

// "TSLB": marks a database file as a music library of this program.
constexpr qint64 kApplicationId = 0x54534C42;
constexpr int kBusyTimeoutMs = 5000;

// Migration i brings the schema from version i to i + 1. Never edit a released step; add one.
const char* const kMigrations[] = {
    // 1: tracks, playlists with their ordered entries, and the stored selection.
    R"sql(
    CREATE TABLE tracks (
        id INTEGER PRIMARY KEY,
        persistent_id TEXT NOT NULL UNIQUE,
        kind TEXT NOT NULL DEFAULT 'file' CHECK (kind IN ('file', 'url', 'shared')),
        location TEXT,
        name TEXT NOT NULL DEFAULT '',
        artist TEXT NOT NULL DEFAULT '',
        album TEXT NOT NULL DEFAULT '',
        lyrics TEXT NOT NULL DEFAULT '',
        genre TEXT NOT NULL DEFAULT '',
        comment TEXT NOT NULL DEFAULT '',
        composer TEXT NOT NULL DEFAULT '',
        album_artist TEXT NOT NULL DEFAULT '',
        played_count INTEGER NOT NULL DEFAULT 0,
        skipped_count INTEGER NOT NULL DEFAULT 0,
        bpm INTEGER NOT NULL DEFAULT 0,
        rating INTEGER NOT NULL DEFAULT 0,
        year INTEGER NOT NULL DEFAULT 0,
        volume_adjustment INTEGER NOT NULL DEFAULT 0,
        track_number INTEGER NOT NULL DEFAULT 0,
        track_count INTEGER NOT NULL DEFAULT 0,
        disc_number INTEGER NOT NULL DEFAULT 0,
        disc_count INTEGER NOT NULL DEFAULT 0,
        duration_ms INTEGER NOT NULL DEFAULT 0,
        bit_rate INTEGER NOT NULL DEFAULT 0
    );
    CREATE INDEX tracks_by_location ON tracks (location);
    CREATE TABLE playlists (
        id INTEGER PRIMARY KEY,
        persistent_id TEXT NOT NULL UNIQUE,
        name TEXT NOT NULL,
        kind TEXT NOT NULL DEFAULT 'user'
            CHECK (kind IN ('user', 'smart', 'builtin', 'folder')),
        parent_id INTEGER REFERENCES playlists (id) ON DELETE SET NULL,
        position INTEGER NOT NULL
    );
    CREATE INDEX playlists_in_order ON playlists (position);
    CREATE INDEX playlists_by_name ON playlists (name);
    CREATE TABLE playlist_items (
        id INTEGER PRIMARY KEY,
        playlist_id INTEGER NOT NULL REFERENCES playlists (id) ON DELETE CASCADE,
        track_id INTEGER NOT NULL REFERENCES tracks (id) ON DELETE CASCADE,
        position INTEGER NOT NULL
    );
    CREATE INDEX playlist_items_in_order ON playlist_items (playlist_id, position);
    CREATE INDEX playlist_items_by_track ON playlist_items (track_id);
    CREATE TABLE selection (
        position INTEGER PRIMARY KEY,
        item_id INTEGER NOT NULL REFERENCES playlist_items (id) ON DELETE CASCADE
    );
    CREATE INDEX selection_by_item ON selection (item_id);
    )sql",
    // 2: the selection may hold tracks of the whole library, which come through no playlist
    // entry: each row names its track, and its entry when it was chosen in a playlist.
    R"sql(
    CREATE TABLE selected_tracks (
        position INTEGER PRIMARY KEY,
        item_id INTEGER REFERENCES playlist_items (id) ON DELETE CASCADE,
        track_id INTEGER NOT NULL REFERENCES tracks (id) ON DELETE CASCADE
    );
    INSERT INTO selected_tracks (position, item_id, track_id)
        SELECT s.position, s.item_id, i.track_id FROM selection s
        JOIN playlist_items i ON i.id = s.item_id;
    DROP TABLE selection;
    ALTER TABLE selected_tracks RENAME TO selection;
    CREATE INDEX selection_by_item ON selection (item_id);
    CREATE INDEX selection_by_track ON selection (track_id);
    )sql",
    // 3: the write journal: each change to a track's file, recorded before the file is touched.
    R"sql(
    CREATE TABLE write_journal (
        id INTEGER PRIMARY KEY,
        track_id INTEGER NOT NULL REFERENCES tracks (id) ON DELETE CASCADE,
        tag TEXT NOT NULL,
        old_value,
        new_value,
        state TEXT NOT NULL DEFAULT 'pending' CHECK (state IN ('pending', 'written', 'failed')),
        writer INTEGER NOT NULL,
        time TEXT NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ', 'now'))
    );
    CREATE INDEX write_journal_by_state ON write_journal (state);
    CREATE INDEX write_journal_by_track ON write_journal (track_id);
    )sql",
    // 4: the runs journal: each apply of a change list with its records, kept for undo. A
    // record names its track by library id and/or file path and has no tie to the tracks
    // table: a track deleted since must still be listed when the run is taken back.
    R"sql(
    CREATE TABLE runs (
        id INTEGER PRIMARY KEY,
        time TEXT NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ', 'now')),
        tool TEXT NOT NULL,
        count INTEGER NOT NULL,
        undone INTEGER NOT NULL DEFAULT 0
    );
    CREATE TABLE run_records (
        id INTEGER PRIMARY KEY,
        run_id INTEGER NOT NULL REFERENCES runs (id) ON DELETE CASCADE,
        position INTEGER NOT NULL,
        track_id INTEGER,
        path TEXT,
        title TEXT NOT NULL DEFAULT '',
        artist TEXT NOT NULL DEFAULT '',
        tag TEXT,
        old_value,
        new_value,
        playlist_id TEXT,
        membership TEXT CHECK (membership IN ('added', 'removed')),
        state TEXT NOT NULL DEFAULT 'pending' CHECK (state IN ('pending', 'written'))
    );
    CREATE INDEX run_records_by_run ON run_records (run_id, position);
    )sql",
};

constexpr int kVersion = int(std::size(kMigrations));

TesselError notALibrary(const sql::Database& db, const QString& why) {
    return scriptingError(formattedString(
        QStringLiteral("The file “%@” cannot be used as a music library: %@"), db.path(), why));
}

qint64 pragmaValue(sql::Database& db, const char* pragma) {
    sql::Statement statement(db, pragma);
    return statement.step() ? statement.integer(0) : 0;
}

void checkOwner(sql::Database& db) {
    const qint64 owner = pragmaValue(db, "PRAGMA application_id");
    if (owner == kApplicationId)
        return;
    if (owner != 0 || pragmaValue(db, "SELECT count(*) FROM sqlite_master") != 0)
        throw notALibrary(db, QStringLiteral("it is a database of another program."));
}

void checkVersion(sql::Database& db, qint64 version) {
    if (version > kVersion)
        throw notALibrary(db, QStringLiteral("it was made by a newer release of Tessel."));
}

// Checks the owner and returns the schema version, both read from one snapshot: read as two
// separate statements, another process creating the library could commit in between, and
// its fresh tables would be taken for a database of another program.
qint64 checkedVersion(sql::Database& db) {
    db.exec("BEGIN", QStringLiteral("opening"));
    try {
        checkOwner(db);
        const qint64 version = pragmaValue(db, "PRAGMA user_version");
        db.exec("COMMIT", QStringLiteral("opening"));
        checkVersion(db, version);
        return version;
    } catch (...) {
        if (db.inTransaction())
            db.exec("ROLLBACK", QStringLiteral("opening"));
        throw;
    }
}

// The owner is checked again inside the write transaction: two processes creating one new
// library at once both see an empty file, and only the first to take the lock may create it;
// the other then finds it made and up to date.
void migrate(sql::Database& db) {
    sql::Transaction transaction(db);
    checkOwner(db);
    const qint64 version = pragmaValue(db, "PRAGMA user_version");
    checkVersion(db, version);
    if (version == kVersion)
        return;
    for (qint64 step = version; step < kVersion; ++step)
        db.exec(kMigrations[step], QStringLiteral("updating its structure"));
    db.exec(QStringLiteral("PRAGMA application_id = %1; PRAGMA user_version = %2")
                .arg(kApplicationId)
                .arg(kVersion)
                .toUtf8()
                .constData(),
            QStringLiteral("updating its structure"));
    transaction.commit();
}

// Switching to WAL needs the file to itself. While another process creates the library the
// switch is refused at once instead of waiting, so it is tried again until the busy timeout.
void useWriteAheadLog(sql::Database& db) {
    QElapsedTimer waited;
    waited.start();
    while (sqlite3_exec(db.handle(), "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr) !=
           SQLITE_OK) {
        if ((sqlite3_errcode(db.handle()) & 0xff) != SQLITE_BUSY ||
            waited.elapsed() > kBusyTimeoutMs)
            db.fail(QStringLiteral("opening"));
        QThread::msleep(5);
    }
}

}  // namespace

int currentVersion() {
    return kVersion;
}

void prepare(sql::Database& db) {
    sqlite3_busy_timeout(db.handle(), kBusyTimeoutMs);
    db.exec("PRAGMA foreign_keys = ON", QStringLiteral("opening"));
    const qint64 version = checkedVersion(db);
    if (db.readOnly())
        return;  // read as it stands: nothing is changed, not even its structure
    // WAL lets the desktop app and the command line read while the other writes; with WAL a
    // normal sync keeps the file sound and leaves a commit far cheaper than a full sync.
    useWriteAheadLog(db);
    db.exec("PRAGMA synchronous = NORMAL", QStringLiteral("opening"));
    if (version < kVersion)
        migrate(db);
}

}  // namespace tessel::itunes::schema
