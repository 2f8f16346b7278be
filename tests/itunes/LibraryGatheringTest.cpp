// Gathering the tracks of a playlist or of the selection from a real library.
#include "LibraryFixture.h"
#include "itunes/LibraryTrack.h"
#include "itunes/MusicLibrary.h"
#include "model/TrackGathering.h"

namespace tessel {
namespace {

using test::LibraryTest;

class LibraryGatheringTest : public LibraryTest {
  protected:
    LibraryGatheringTest() { importFixture(); }

    std::optional<QList<MusicTrack>> gather(int method, int index,
                                            const QStringList& playlistIds = {}) {
        TrackSource source;
        source.selectedMethod = method;
        source.selectedPlaylist = index;
        source.playlistIds =
            playlistIds.isEmpty() ? readPlaylistMenus(*open()).playlistIds : playlistIds;
        try {
            return gatherTracks(source, itunes::libraryProvider(libraryFile)).tracks;
        } catch (const TesselError& error) {
            failures.append(error.name() + QStringLiteral(": ") + error.reason());
            return std::nullopt;
        }
    }

    QStringList failures;  // "Name: reason" of each error gathering threw

    void select(const QList<itunes::TrackPtr>& references) {
        QList<qint64> items;
        for (const auto& reference : references)
            items.append(*std::dynamic_pointer_cast<itunes::LibraryTrack>(reference)->itemId());
        open()->connection()->locked(
            [&](sql::Database& db) { itunes::playliststore::setSelection(db, items); });
    }

    static QStringList titles(const QList<MusicTrack>& tracks) {
        QStringList result;
        for (const MusicTrack& track : tracks)
            result.append(track.title());
        return result;
    }
};

TEST_F(LibraryGatheringTest, EachPlaylistOfOneNameGathersItsOwnTracks) {
    // Positions 2 and 3 are the two "Road Trip" playlists: the one chosen is the one gathered.
    const auto first = gather(0, 2);
    ASSERT_TRUE(first);
    EXPECT_EQ(titles(*first), (QStringList{"Café & 🎵 Song", "Gone Song", "Café & 🎵 Song"}));
    EXPECT_TRUE(first->first().isLibraryTrack());
    const auto second = gather(0, 3);
    ASSERT_TRUE(second);
    EXPECT_EQ(titles(*second), QStringList{"Windows Song"});
    const auto smart = gather(0, 4);
    ASSERT_TRUE(smart);
    EXPECT_EQ(titles(*smart), QStringList{"Café & 🎵 Song"});
    const auto empty = gather(0, 6);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(LibraryGatheringTest, AGonePlaylistOrABadIndexGathersNothing) {
    const QString notFound = QStringLiteral(
        "Playlist Not Found: The playlist you've selected doesn't exist anymore. Please choose "
        "the playlist again from the menu.");
    // The menu still shows a playlist the library no longer has.
    const QStringList stale{"BBBB000000000201", "BBBB0000DEADBEEF", "BBBB000000000206"};
    EXPECT_FALSE(gather(0, 1, stale));
    EXPECT_FALSE(gather(0, -1));
    EXPECT_FALSE(gather(0, 7));
    EXPECT_EQ(failures, QStringList(3, notFound));
    const auto mixed = gather(0, 2, stale);
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->size(), 3);
}

TEST_F(LibraryGatheringTest, TheSelectionIsGatheredInSelectionOrder) {
    const auto none = gather(2, 0);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    EXPECT_TRUE(failures.isEmpty());

    const auto mixed = playlist(QStringLiteral("Mixed"))->tracks();
    select({mixed.at(2), mixed.at(0)});
    const auto tracks = gather(5, 0);
    ASSERT_TRUE(tracks);
    EXPECT_EQ(titles(*tracks), (QStringList{"Unix Song", "Radio Stream"}));

    const auto resolved = selectedTracks(*open());
    ASSERT_EQ(resolved.size(), 2);
    EXPECT_TRUE(resolved.at(0)->isSameTrack(*mixed.at(2)));
    EXPECT_EQ(resolved.at(1)->className(), QStringLiteral("ITunesURLTrack"));
}

TEST_F(LibraryGatheringTest, PlaylistMenusNameEachPlaylistByItsPersistentId) {
    const auto app = open();
    const auto menus = readPlaylistMenus(*app);
    EXPECT_EQ(menus.playlistIds.mid(2, 2), (QStringList{"BBBB000000000203", "BBBB000000000204"}));
    EXPECT_TRUE(menus.playlists.contains(QStringLiteral("Top Rated")));
    EXPECT_FALSE(menus.editablePlaylists.contains(QStringLiteral("Top Rated")));
    EXPECT_EQ(menus.editablePlaylists.size(), menus.editablePlaylistIds.size());
    EXPECT_EQ(menus.editablePlaylistIds.at(menus.editablePlaylists.indexOf("Mixed")),
              QStringLiteral("BBBB000000000206"));
    // Letter case does not matter; an unknown ID finds nothing.
    const auto second = playlistWithId(*app, QStringLiteral("bbbb000000000204"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->tracks().size(), 1);
    EXPECT_EQ(playlistWithId(*app, QStringLiteral("0000000000000000")), nullptr);
}

}  // namespace
}  // namespace tessel
