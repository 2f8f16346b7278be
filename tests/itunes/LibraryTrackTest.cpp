// The library's tracks and playlists as callers use them: resolving references, identity,
// removing entries, adding to playlists, live reads and writes, locations.
#include "LibraryFixture.h"
#include "itunes/LibraryTrack.h"
#include "itunes/MusicLibrary.h"
#include "model/MusicTrack.h"

#include <QFile>
#include <QSet>
#include <QThread>

#include <thread>
#include <vector>

namespace tessel {
namespace {

using test::LibraryTest;

QString scriptingReason(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const TesselError& error) {
        EXPECT_EQ(error.name(), errors::kScripting);
        return error.reason();
    }
    ADD_FAILURE() << "no scripting error";
    return {};
}

TEST_F(LibraryTest, ResolvedTracksCompareByIdentity) {
    importFixture();
    const auto trip = playlist(QStringLiteral("Road Trip"))->tracks();
    const auto topRated = playlist(QStringLiteral("Top Rated"))->getTracks();
    ASSERT_EQ(trip.size(), 3);
    // Two entries of one track, and the same track reached through another playlist and
    // another application object, are the same track; a different track is not.
    EXPECT_TRUE(trip.at(0)->get()->isSameTrack(*trip.at(2)->get()));
    EXPECT_TRUE(trip.at(0)->get()->isSameTrack(*topRated.first()));
    EXPECT_FALSE(trip.at(0)->get()->isSameTrack(*trip.at(1)->get()));
    EXPECT_TRUE(playlist(QStringLiteral("Road Trip"))->isSamePlaylist(*playlist("Road Trip")));
    EXPECT_FALSE(playlist(QStringLiteral("Road Trip"))->isSamePlaylist(*playlist("Road Trip", 1)));

    // Another library file holding the same rows is another library.
    QFile::copy(libraryFile, temp.filePath(QStringLiteral("copy.sqlite")));
    const auto other = itunes::libraryProvider(temp.filePath(QStringLiteral("copy.sqlite")))();
    const auto otherTrip =
        other->sources().first()->userPlaylists(itunes::PlaylistFilter::named("Road Trip")).first();
    EXPECT_FALSE(trip.at(0)->isSameTrack(*otherTrip->tracks().at(0)));
}

TEST_F(LibraryTest, DeleteRemovesTheOneEntryItWasReachedThrough) {
    importFixture();
    const auto trip = playlist(QStringLiteral("Road Trip"))->tracks();
    const auto resolved = trip.at(2)->get();
    resolved->deleteTrack();

    EXPECT_EQ(namesOf(playlist(QStringLiteral("Road Trip"))->tracks()),
              (QStringList{"Café & 🎵 Song", "Gone Song"}));
    // The track itself stays, in this playlist and in others.
    EXPECT_NO_THROW(trip.at(0)->get());
    EXPECT_EQ(playlist(QStringLiteral("Top Rated"))->tracks().size(), 1);
    // The reference of the removed entry is gone; reading the track still works.
    EXPECT_TRUE(scriptingReason([&] { trip.at(2)->get(); }).contains(u"no longer in the playlist"));
    EXPECT_TRUE(scriptingReason([&] { resolved->deleteTrack(); }).contains(u"no longer"));
    EXPECT_EQ(trip.at(2)->property(QStringLiteral("artist")), QStringLiteral("The Artist"));
}

TEST_F(LibraryTest, DeleteThroughTheLibrarysOwnListRemovesTheTrack) {
    importFixture();
    const auto gone = playlist(QStringLiteral("Music"))->tracks().at(1);
    const auto viaTrip = playlist(QStringLiteral("Road Trip"))->tracks().at(1);
    ASSERT_TRUE(gone->isSameTrack(*viaTrip));
    gone->deleteTrack();
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Road Trip"))->tracks()),
              (QStringList{"Café & 🎵 Song", "Café & 🎵 Song"}));
    EXPECT_TRUE(scriptingReason([&] {
                    viaTrip->property(QStringLiteral("name"));
                }).contains(u"no longer exists"));
}

TEST_F(LibraryTest, ListsThatCannotBeEditedRefuseChanges) {
    importFixture();
    const auto track = playlist(QStringLiteral("Mixed"))->tracks().first();
    // The library's own lists take no entries; smart playlists and folders also give none up.
    const QList<std::pair<const char*, bool>> rows{
        {"Top Rated", true}, {"Collections", true}, {"Music", false}};
    for (const auto& [name, refusesDelete] : rows) {
        const auto list = playlist(QString::fromLatin1(name));
        const int before = list->tracks().size();
        EXPECT_TRUE(scriptingReason([&] { track->duplicateTo(*list); }).contains(u"cannot be"))
            << name;
        if (refusesDelete) {
            EXPECT_TRUE(scriptingReason([&] {
                            list->tracks().first()->deleteTrack();
                        }).contains(u"cannot be changed by hand"));
        }
        EXPECT_EQ(list->tracks().size(), before) << name;
    }
}

TEST_F(LibraryTest, DuplicateToAppendsToAPlaylist) {
    importFixture();
    const auto empty = playlist(QStringLiteral("Empty"));
    const auto mixed = playlist(QStringLiteral("Mixed"))->tracks();
    mixed.at(2)->get()->duplicateTo(*empty);
    mixed.at(0)->duplicateTo(*empty);
    mixed.at(2)->duplicateTo(*empty);  // a playlist may hold a track twice
    EXPECT_EQ(namesOf(empty->tracks()), (QStringList{"Unix Song", "Radio Stream", "Unix Song"}));
    EXPECT_TRUE(empty->getTracks().first()->isSameTrack(*mixed.at(2)));

    mixed.at(1)->deleteTrack();
    mixed.at(2)->deleteTrack();
    EXPECT_EQ(empty->tracks().size(), 3);
}

TEST_F(LibraryTest, ReadsAreLiveAcrossConnections) {
    importFixture();
    const auto track = playlist(QStringLiteral("Road Trip"))->tracks().at(1);
    EXPECT_EQ(track->property(QStringLiteral("artist")), QStringLiteral("Old Artist"));
    EXPECT_EQ(track->properties({QStringLiteral("artist")}).value(QStringLiteral("artist")),
              QStringLiteral("Old Artist"));
    // Another process or thread changes the row between two reads.
    std::thread writer([this] {
        const auto other = playlist(QStringLiteral("Road Trip"))->tracks().at(1);
        other->setProperty(QStringLiteral("artist"), QStringLiteral("New Artist"));
        other->setProperty(QStringLiteral("rating"), QStringLiteral("60 stars"));
    });
    writer.join();
    EXPECT_EQ(track->property(QStringLiteral("artist")), QStringLiteral("New Artist"));
    EXPECT_EQ(track->property(QStringLiteral("rating")), qint64(60));
    EXPECT_EQ(MusicTrack::withTrack(track).artist(), QStringLiteral("New Artist"));
    EXPECT_EQ(track->properties({QStringLiteral("artist")}).value(QStringLiteral("artist")),
              QStringLiteral("New Artist"));
}

// Every key read together gives what reading it alone gives, for the living file, the dead
// file and the stream of the library; and a gone entry or track fails as a lone read does.
TEST_F(LibraryTest, PropertiesReadTogetherEqualThoseReadAlone) {
    importFixture();
    QStringList keys{QStringLiteral("title"), QStringLiteral("location")};
    for (const itunes::TrackField& field : itunes::trackFields())
        keys.append(field.key);
    const auto tracks =
        playlist(QStringLiteral("Music"))->tracks() + playlist(QStringLiteral("Mixed"))->tracks();
    QSet<QString> kinds;
    for (const auto& track : tracks) {
        const QVariantMap together = track->properties(keys);
        kinds.insert(track->className() + (track->get()->location() ? u'+' : u'-'));
        for (const QString& key : keys) {
            const QVariant alone = key == u"location" ? track->get()->location().value_or(QString())
                                                      : track->property(key);
            EXPECT_EQ(together.value(key).toString(), alone.toString()) << key.toStdString();
            EXPECT_EQ(together.value(key).typeId(), key == u"location" && alone == QString()
                                                        ? QMetaType::UnknownType
                                                        : alone.typeId());
        }
    }
    EXPECT_TRUE(kinds.contains(QStringLiteral("ITunesFileTrack+")));
    EXPECT_TRUE(kinds.contains(QStringLiteral("ITunesFileTrack-")));
    EXPECT_TRUE(kinds.contains(QStringLiteral("ITunesURLTrack-")));

    const auto trip = playlist(QStringLiteral("Road Trip"))->tracks();
    trip.at(2)->deleteTrack();
    const QStringList nameAndLocation{QStringLiteral("name"), QStringLiteral("location")};
    EXPECT_EQ(trip.at(2)->properties({QStringLiteral("name")}).value(QStringLiteral("name")),
              trip.at(2)->property(QStringLiteral("name")));
    EXPECT_EQ(scriptingReason([&] { trip.at(2)->properties(nameAndLocation); }),
              scriptingReason([&] { trip.at(2)->get(); }));
    // Leaving the library's own list leaves the library.
    for (const auto& track : playlist(QStringLiteral("Music"))->tracks()) {
        if (track->isSameTrack(*trip.at(1)))
            track->deleteTrack();
    }
    EXPECT_EQ(scriptingReason([&] { trip.at(1)->properties(nameAndLocation); }),
              scriptingReason([&] { trip.at(1)->property(QStringLiteral("name")); }));
    EXPECT_TRUE(scriptingReason([&] {
                    trip.at(0)->properties({QStringLiteral("name"), QStringLiteral("nope")});
                }).contains(u"nope"));
}

TEST_F(LibraryTest, ReferencesWorkFromOtherThreads) {
    importFixture();
    const auto tracks = playlist(QStringLiteral("Music"))->tracks();
    std::vector<std::thread> workers;
    QList<int> counts(4, 0);
    for (int w = 0; w < 4; ++w) {
        workers.emplace_back([&, w] {
            for (int round = 0; round < 20; ++round) {
                for (const auto& track : tracks) {
                    track->setProperty(QStringLiteral("playedCount"), round);
                    counts[w] += track->get()->property(QStringLiteral("name")).toString().size();
                }
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(counts, QList<int>(4, counts.first()));
}

TEST_F(LibraryTest, UnknownAndReadOnlyPropertiesAreRefused) {
    importFixture();
    const auto track = playlist(QStringLiteral("Mixed"))->tracks().first();
    EXPECT_TRUE(
        scriptingReason([&] { track->property(QStringLiteral("cover")); }).contains(u"cover"));
    EXPECT_FALSE(scriptingReason([&] {
                     track->property(QStringLiteral("'; DROP TABLE tracks; --"));
                 }).isEmpty());
    for (const char* key : {"duration", "bitRate"})
        EXPECT_TRUE(scriptingReason([&] {
                        track->setProperty(QString::fromLatin1(key), 1);
                    }).contains(u"cannot be changed"));
    EXPECT_EQ(track->property(QStringLiteral("name")), QStringLiteral("Radio Stream"));
}

TEST_F(LibraryTest, SetLocationRelinksADeadTrack) {
    importFixture();
    const auto dead = playlist(QStringLiteral("Road Trip"))->tracks().at(1)->get();
    ASSERT_FALSE(dead->location());
    const QString file =
        temp.copyFixture(QStringLiteral("tagged.flac"), QStringLiteral("new/x.flac"));
    dead->setLocation(file);
    EXPECT_EQ(dead->location(), file);
    EXPECT_EQ(MusicTrack::withTrack(dead).valueForTag(QStringLiteral("location")), file);
    QFile::remove(file);
    EXPECT_FALSE(dead->location());
    // A folder at the path is no file either.
    dead->setLocation(temp.path());
    EXPECT_FALSE(dead->location());

    const auto stream = playlist(QStringLiteral("Mixed"))->tracks().first();
    EXPECT_FALSE(scriptingReason([&] { stream->setLocation(file); }).isEmpty());
    EXPECT_FALSE(scriptingReason([&] { dead->setLocation(QString()); }).isEmpty());
}

TEST_F(LibraryTest, SelectionIsResolvedInOrder) {
    importFixture();
    auto app = open();
    EXPECT_TRUE(app->selection().isEmpty());
    const auto trip = playlist(QStringLiteral("Road Trip"))->tracks();
    app->connection()->locked([&](sql::Database& db) {
        itunes::playliststore::setSelection(
            db, {*std::dynamic_pointer_cast<itunes::LibraryTrack>(trip.at(2))->itemId(),
                 *std::dynamic_pointer_cast<itunes::LibraryTrack>(trip.at(1))->itemId()});
    });
    EXPECT_EQ(namesOf(open()->selection()), (QStringList{"Café & 🎵 Song", "Gone Song"}));
    // A selected entry that is removed leaves the selection.
    trip.at(2)->deleteTrack();
    EXPECT_EQ(namesOf(open()->selection()), QStringList{"Gone Song"});
    // Removing through the selection removes the entry from its playlist.
    open()->selection().first()->deleteTrack();
    EXPECT_EQ(namesOf(playlist(QStringLiteral("Road Trip"))->tracks()),
              QStringList{"Café & 🎵 Song"});
}

}  // namespace
}  // namespace tessel
