// Membership changes carried out on a real library database.
#include "../app/MemoryLibrary.h"
#include "TestSupport.h"
#include "changes/ApplyEngine.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"
#include "model/TrackGathering.h"

#include <QFile>

namespace tessel {
namespace {

using Outcome = ApplyResult::Outcome;

struct NullSink : ProgressSink {
    void setProgress(const QString&) override {}
};

class MembershipLibraryTest : public test::TesselTest {
  protected:
    // Source holds Track 1, Track 3, Track 4 and Track 2 (folder order); Target holds Track 2.
    MembershipLibraryTest() {
        for (const char* file : {"music/1.mp3", "music/3.mp3", "music/4.mp3", "music/sub/2.mp3"}) {
            const QString path = temp.copyFixture("tagged.mp3", QString::fromLatin1(file));
            MusicTrack::withPath(path).setTag("name", "Track " + QFileInfo(path).baseName());
        }
        const auto connection = itunes::Connection::open(temp.filePath("library.sqlite"));
        itunes::importFolder(*connection, temp.filePath("music"), QStringLiteral("Source"));
        itunes::importFolder(*connection, temp.filePath("music/sub"), QStringLiteral("Target"));
        library = itunes::libraryProvider(temp.filePath("library.sqlite"));
    }

    itunes::PlaylistPtr playlist(const QString& name) const {
        return test::playlistNamed(*library(), name);
    }

    QStringList names(const QString& name) const {
        QStringList result;
        for (const itunes::TrackPtr& track : playlist(name)->tracks())
            result.append(track->property("name").toString());
        return result;
    }

    // A membership list over the tracks of Source, as the playlist tools build it.
    ChangeList membership(int remove, bool trash = false) const {
        ChangeList list;
        list.playlist = true;
        list.remove = remove;
        list.trash = trash;
        for (const itunes::TrackPtr& track : playlist("Source")->tracks()) {
            list.records.append({true,
                                 MusicTrack::withTrack(track),
                                 track->property("name").toString(),
                                 track->property("artist").toString(),
                                 {},
                                 {},
                                 {}});
        }
        return list;
    }

    ApplyResult apply(const ChangeList& list) {
        return applyChanges(list, library, {playlist("Target")->persistentId(), "Target"},
                            progress);
    }

    itunes::ApplicationProvider library;
    NullSink progress;
};

TEST_F(MembershipLibraryTest, AddingSkipsTracksAlreadyInTheTarget) {
    ASSERT_EQ(names("Source"), (QStringList{"Track 1", "Track 3", "Track 4", "Track 2"}));
    ASSERT_EQ(names("Target"), QStringList{"Track 2"});
    const ApplyResult result = apply(membership(0));
    EXPECT_EQ(result.outcome, Outcome::Finished);
    EXPECT_EQ(names("Target"), (QStringList{"Track 2", "Track 1", "Track 3", "Track 4"}));
    EXPECT_EQ(names("Source").size(), 4);
}

TEST_F(MembershipLibraryTest, EveryGuardRunsBeforeTheFirstChange) {
    const ChangeList adding = membership(0);
    const ChangeList removing = membership(1, true);
    playlist("Source")->tracks().at(2)->setProperty("artist", QStringLiteral("Changed"));

    EXPECT_EQ(apply(adding).outcome, Outcome::Cancelled);
    EXPECT_EQ(apply(removing).outcome, Outcome::Cancelled);
    EXPECT_EQ(names("Target"), QStringList{"Track 2"});
    EXPECT_EQ(names("Source").size(), 4);
    EXPECT_TRUE(QFile::exists(temp.filePath("music/1.mp3")));
}

TEST_F(MembershipLibraryTest, RemovingWithTrashMovesTheFilesOfTheCheckedTracks) {
    ChangeList list = membership(1, true);
    list.records[1].enabled = false;  // Track 3
    list.records[3].enabled = false;  // Track 2
    EXPECT_EQ(apply(list).outcome, Outcome::Finished);
    EXPECT_EQ(names("Source"), (QStringList{"Track 3", "Track 2"}));
    EXPECT_FALSE(QFile::exists(temp.filePath("music/1.mp3")));
    EXPECT_FALSE(QFile::exists(temp.filePath("music/4.mp3")));
    EXPECT_TRUE(QFile::exists(temp.filePath("music/3.mp3")));
}

TEST_F(MembershipLibraryTest, AnEntryGoneMeanwhileStopsTheRunBeforeAnyChange) {
    const ChangeList list = membership(1);
    playlist("Source")->tracks().at(1)->deleteTrack();
    const ApplyResult result = apply(list);
    EXPECT_EQ(result.outcome, Outcome::Stopped);
    EXPECT_EQ(result.done, 0);
    EXPECT_EQ(names("Source"), (QStringList{"Track 1", "Track 4", "Track 2"}));
    const auto alert = stoppedAlert(result, true);
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->message.startsWith("The playlist changes stopped at “Track 3”: "))
        << alert->message.toStdString();
}

}  // namespace
}  // namespace tessel
