// The edits the library window makes through the library interface (new, renamed and deleted
// playlists, the stored selection), and browsing the tracks a batch at a time.
#include "LibraryFixture.h"
#include "itunes/LibraryTrack.h"
#include "itunes/TrackBrowser.h"

namespace tessel {
namespace {

using test::LibraryTest;
using namespace itunes;

QStringList titlesOf(LibraryApplication& app, const browse::Query& query) {
    return app.connection()->locked([&](sql::Database& db) {
        QList<qint64> ids;
        for (const auto& key : browse::rowKeys(db, query))
            ids.append(key.trackId);
        const auto data = browse::trackData(db, ids);
        QStringList titles;
        for (qint64 id : ids)
            titles.append(data.value(id).title);
        return titles;
    });
}

browse::Query filtered(const QString& text) {
    browse::Query query;
    query.filter = text;
    return query;
}

bool refuses(const std::function<void()>& edit) {
    try {
        edit();
    } catch (const TesselError& error) {
        return error.name() == errors::kScripting;
    }
    return false;
}

TEST_F(LibraryTest, PlaylistsAreMadeRenamedAndDeletedThroughTheInterface) {
    importFixture();
    auto source = open()->sources().first();
    const PlaylistPtr made = source->makePlaylist(QStringLiteral("Neu / ünïcode"));
    EXPECT_FALSE(made->smart());
    EXPECT_EQ(source->userPlaylists().last()->name(), QStringLiteral("Neu / ünïcode"));
    playlist(QStringLiteral("Mixed"))->tracks().first()->duplicateTo(*made);
    made->setName(QStringLiteral("Renamed"));
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Renamed"))->tracks()), QStringList{"Radio Stream"});

    // Deleting a playlist keeps its tracks in the library and in other playlists.
    made->deletePlaylist();
    EXPECT_TRUE(source->userPlaylists(PlaylistFilter::named(QStringLiteral("Renamed"))).isEmpty());
    EXPECT_EQ(playlist(QStringLiteral("Mixed"))->tracks().size(), 3);

    // Smart lists, folders and the library's own lists are not deleted; built-in ones keep
    // their names.
    EXPECT_TRUE(refuses([&] { playlist(QStringLiteral("Top Rated"))->deletePlaylist(); }));
    EXPECT_TRUE(refuses([&] { playlist(QStringLiteral("Collections"))->deletePlaylist(); }));
    EXPECT_TRUE(refuses([&] { playlist(QStringLiteral("Music"))->setName("Mine"); }));
    EXPECT_TRUE(refuses([&] { made->setName(QStringLiteral("Gone")); }));
    EXPECT_NO_THROW(playlist(QStringLiteral("Top Rated"))->setName(QStringLiteral("Best")));
}

TEST_F(LibraryTest, TheSelectionHoldsEntriesAndTracksOfTheWholeLibrary) {
    importFixture();
    auto app = open();
    const auto trip = playlist(QStringLiteral("Road Trip"))->tracks();
    const auto inLibrary = std::make_shared<LibraryTrack>(app->connection(), 6, std::nullopt);
    app->select({trip.at(2), inLibrary, trip.at(0)});
    EXPECT_EQ(open()->selectionCount(), 3);
    EXPECT_EQ(namesOf(open()->selection()),
              (QStringList{"Café & 🎵 Song", "Unix Song", "Café & 🎵 Song"}));

    // Removing through a selected entry removes that entry only; a selected library track
    // leaves the selection when the track leaves the library.
    open()->selection().first()->deleteTrack();
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Road Trip"))->tracks()),
              (QStringList{"Café & 🎵 Song", "Gone Song"}));
    EXPECT_EQ(open()->selectionCount(), 2);
    inLibrary->deleteTrack();
    EXPECT_EQ(namesOf(open()->selection()), QStringList{"Café & 🎵 Song"});

    // A reference to an entry that is gone leaves the selection as it was.
    EXPECT_TRUE(refuses([&] { app->select({trip.at(1), trip.at(2)}); }));
    EXPECT_EQ(namesOf(open()->selection()), QStringList{"Café & 🎵 Song"});
    app->select({});
    EXPECT_EQ(open()->selectionCount(), 0);
}

TEST_F(LibraryTest, BrowsingFiltersAndSortsInTheDatabase) {
    importFixture();
    auto app = open();
    const QStringList everything{"Café & 🎵 Song", "Gone Song",  "Windows Song",
                                 "Radio Stream",  "Cloud Song", "Unix Song"};
    EXPECT_EQ(titlesOf(*app, {}), everything);
    // The filter matches in any letter case, and its LIKE wildcards only match themselves.
    EXPECT_EQ(titlesOf(*app, filtered(QStringLiteral("SONG"))).size(), 5);
    EXPECT_TRUE(titlesOf(*app, filtered(QStringLiteral("%_"))).isEmpty());
    EXPECT_EQ(titlesOf(*app, filtered(QStringLiteral("🎵"))), QStringList{"Café & 🎵 Song"});
    browse::Query byTitle;
    byTitle.sortColumn = browse::Column::Title;
    byTitle.descending = true;
    EXPECT_EQ(titlesOf(*app, byTitle), (QStringList{"Windows Song", "Unix Song", "Radio Stream",
                                                    "Gone Song", "Cloud Song", "Café & 🎵 Song"}));

    // A playlist keeps its order and its repeated entries, each row with its own entry.
    const auto trip = std::dynamic_pointer_cast<LibraryPlaylist>(playlist("Road Trip"));
    browse::Query tripQuery;
    tripQuery.playlistId = trip->id();
    EXPECT_EQ(titlesOf(*app, tripQuery),
              (QStringList{"Café & 🎵 Song", "Gone Song", "Café & 🎵 Song"}));
    const auto keys = app->connection()->locked(
        [&](sql::Database& db) { return browse::rowKeys(db, tripQuery); });
    EXPECT_NE(keys.at(0).itemId, keys.at(2).itemId);
    const auto data = app->connection()->locked([&](sql::Database& db) {
        return browse::trackData(db, {keys.at(0).trackId, 999});
    });
    ASSERT_EQ(data.size(), 1);
    EXPECT_EQ(data.value(keys.at(0).trackId).year, 1999);
    EXPECT_EQ(data.value(keys.at(0).trackId).albumArtist, QStringLiteral("Various Artists"));
}

// A library written before the selection could hold tracks of the whole library keeps its
// stored selection when it is opened by this release.
TEST_F(LibraryTest, AnOlderLibraryKeepsItsSelection) {
    const QString file = temp.filePath("older.sqlite");
    {
        sql::Database db(file);
        db.exec(R"sql(
            CREATE TABLE tracks (id INTEGER PRIMARY KEY, persistent_id TEXT NOT NULL UNIQUE,
                kind TEXT NOT NULL DEFAULT 'file', location TEXT,
                name TEXT NOT NULL DEFAULT '', artist TEXT NOT NULL DEFAULT '',
                album TEXT NOT NULL DEFAULT '', lyrics TEXT NOT NULL DEFAULT '',
                genre TEXT NOT NULL DEFAULT '', comment TEXT NOT NULL DEFAULT '',
                composer TEXT NOT NULL DEFAULT '', album_artist TEXT NOT NULL DEFAULT '',
                played_count INTEGER NOT NULL DEFAULT 0, skipped_count INTEGER NOT NULL DEFAULT 0,
                bpm INTEGER NOT NULL DEFAULT 0, rating INTEGER NOT NULL DEFAULT 0,
                year INTEGER NOT NULL DEFAULT 0, volume_adjustment INTEGER NOT NULL DEFAULT 0,
                track_number INTEGER NOT NULL DEFAULT 0, track_count INTEGER NOT NULL DEFAULT 0,
                disc_number INTEGER NOT NULL DEFAULT 0, disc_count INTEGER NOT NULL DEFAULT 0,
                duration_ms INTEGER NOT NULL DEFAULT 0, bit_rate INTEGER NOT NULL DEFAULT 0);
            CREATE INDEX tracks_by_location ON tracks (location);
            CREATE TABLE playlists (id INTEGER PRIMARY KEY, persistent_id TEXT NOT NULL UNIQUE,
                name TEXT NOT NULL, kind TEXT NOT NULL DEFAULT 'user',
                parent_id INTEGER REFERENCES playlists (id) ON DELETE SET NULL,
                position INTEGER NOT NULL);
            CREATE TABLE playlist_items (id INTEGER PRIMARY KEY,
                playlist_id INTEGER NOT NULL REFERENCES playlists (id) ON DELETE CASCADE,
                track_id INTEGER NOT NULL REFERENCES tracks (id) ON DELETE CASCADE,
                position INTEGER NOT NULL);
            CREATE TABLE selection (position INTEGER PRIMARY KEY,
                item_id INTEGER NOT NULL REFERENCES playlist_items (id) ON DELETE CASCADE);
            CREATE INDEX selection_by_item ON selection (item_id);
            INSERT INTO tracks (id, persistent_id, name) VALUES (1, 'A1', 'One'), (2, 'A2', 'Two');
            INSERT INTO playlists (id, persistent_id, name, position) VALUES (1, 'P1', 'Mix', 1);
            INSERT INTO playlist_items (id, playlist_id, track_id, position)
                VALUES (10, 1, 2, 1), (11, 1, 1, 2);
            INSERT INTO selection (position, item_id) VALUES (0, 11), (1, 10);
            PRAGMA application_id = 1414745154; PRAGMA user_version = 1;
        )sql");
    }
    LibraryApplication older(Connection::open(file));
    EXPECT_EQ(namesOf(older.selection()), (QStringList{"One", "Two"}));
    // Still entries of their playlist: removing through one removes that entry.
    older.selection().first()->deleteTrack();
    EXPECT_EQ(namesOf(older.sources().first()->userPlaylists().first()->tracks()),
              QStringList{"Two"});
}

// Says stop once it has seen a number of progress lines.
class StoppingSink : public ProgressSink {
  public:
    explicit StoppingSink(int lines) : left_(lines) {}
    void setProgress(const QString&) override { --left_; }
    bool cancelled() const override { return left_ <= 0; }

  private:
    int left_;
};

TEST_F(LibraryTest, ACancelledImportLeavesTheLibraryAsItWas) {
    importFixture();
    const auto before = open()->sources().first()->userPlaylistSummaries().size();
    for (int i = 0; i < 3; ++i)
        temp.copyFixture(QStringLiteral("tagged.mp3"), QStringLiteral("more/%1.mp3").arg(i));
    auto connection = open()->connection();
    StoppingSink stopAtOnce(0);
    try {
        importFolder(*connection, temp.filePath("more"), QStringLiteral("New"), &stopAtOnce);
        ADD_FAILURE() << "the import did not stop";
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), kImportCancelled);
    }
    EXPECT_EQ(open()->sources().first()->userPlaylistSummaries().size(), before);
    EXPECT_EQ(titlesOf(*open(), {}).size(), 6);

    // Stopped inside its transaction, after the tracks: they are not stored either.
    auto fresh = LibraryApplication(Connection::open(temp.filePath("fresh.sqlite")));
    StoppingSink stopLate(2);
    EXPECT_THROW(
        importLibraryXml(*fresh.connection(), writeExport(QStringLiteral("again.xml")), &stopLate),
        TesselError);
    EXPECT_TRUE(titlesOf(fresh, {}).isEmpty());
}

}  // namespace
}  // namespace tessel
