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
                                            const QStringList& playlists = {}) {
        TrackSource source;
        source.selectedMethod = method;
        source.selectedPlaylist = index;
        source.playlists = playlists.isEmpty() ? readPlaylistNames(*open()).playlists : playlists;
        return gatherTracks(source, itunes::libraryProvider(libraryFile));
    }

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

TEST_F(LibraryGatheringTest, APlaylistNameGathersTheFirstPlaylistOfThatName) {
    // Positions 2 and 3 are the two "Road Trip" playlists.
    for (int index : {2, 3}) {
        const auto tracks = gather(0, index);
        ASSERT_TRUE(tracks) << index;
        EXPECT_EQ(titles(*tracks), (QStringList{"Café & 🎵 Song", "Gone Song", "Café & 🎵 Song"}));
        EXPECT_TRUE(tracks->first().isLibraryTrack());
    }
    const auto smart = gather(0, 4);
    ASSERT_TRUE(smart);
    EXPECT_EQ(titles(*smart), QStringList{"Café & 🎵 Song"});
    const auto empty = gather(0, 6);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_TRUE(presenter().alerts.isEmpty());
}

TEST_F(LibraryGatheringTest, AGonePlaylistOrABadIndexGathersNothing) {
    const QString notFound = QStringLiteral(
        "Playlist Not Found: The playlist you've selected doesn't exist anymore. Please choose "
        "the playlist again from the menu.");
    // The menu still shows a name the library no longer has.
    const QStringList stale{"Music", "Renamed Away", "Mixed"};
    EXPECT_FALSE(gather(0, 1, stale));
    EXPECT_FALSE(gather(0, -1));
    EXPECT_FALSE(gather(0, 7));
    EXPECT_EQ(presenter().alertLines(), QStringList(3, notFound));
    const auto mixed = gather(0, 2, stale);
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->size(), 3);
}

TEST_F(LibraryGatheringTest, TheSelectionIsGatheredInSelectionOrder) {
    const auto none = gather(2, 0);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    EXPECT_TRUE(presenter().alerts.isEmpty());

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

TEST_F(LibraryGatheringTest, PlaylistNamesSplitEditableFromTheRest) {
    const auto app = open();
    EXPECT_EQ(firstPlaylistNamed(*app, QStringLiteral("Road Trip"))
                  ->isSamePlaylist(*playlist(QStringLiteral("Road Trip"))),
              true);
    EXPECT_EQ(firstPlaylistNamed(*app, QStringLiteral("road trip")), nullptr);
    const auto names = readPlaylistNames(*app);
    EXPECT_TRUE(names.playlists.contains(QStringLiteral("Top Rated")));
    EXPECT_FALSE(names.editablePlaylists.contains(QStringLiteral("Top Rated")));
}

}  // namespace
}  // namespace tessel
