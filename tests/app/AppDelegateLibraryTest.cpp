// The controller over a real library database: a Search & Replace on a playlist.
#include "MemoryLibrary.h"
#include "RunToEnd.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"
#include "model/TrackGathering.h"

#include <QSignalSpy>

namespace tessel {
namespace {

class AppDelegateLibraryTest : public test::TesselTest {
  protected:
    // The playlist "Rock" holds five tracks titled "Song 1" … "Song 5" by "Artist".
    AppDelegateLibraryTest() {
        for (int i = 1; i <= 5; ++i) {
            const QString path =
                temp.copyFixture("tagged.mp3", QStringLiteral("music/%1.mp3").arg(i));
            files.append(path);
            MusicTrack::withPath(path).setTag("name", QStringLiteral("Song %1").arg(i));
        }
        const QString file = temp.filePath("library.sqlite");
        itunes::importFolder(*itunes::Connection::open(file), temp.filePath("music"),
                             QStringLiteral("Rock"));
        library = itunes::libraryProvider(file);
        delegate = std::make_unique<AppDelegate>(library, presenter());
        delegate->applicationDidFinishLaunching();
    }

    bool runToEnd(const std::function<void()>& action) { return test::runToEnd(*delegate, action); }

    QList<itunes::TrackPtr> rock() const {
        return test::playlistNamed(*library(), "Rock")->tracks();
    }

    QStringList libraryTitles() const {
        QStringList titles;
        for (const itunes::TrackPtr& track : rock())
            titles.append(track->property("name").toString());
        return titles;
    }

    itunes::ApplicationProvider library;
    QStringList files;
    std::unique_ptr<AppDelegate> delegate;
};

TEST_F(AppDelegateLibraryTest, APlaylistRunWritesTheLibraryAndItsFilesUntilATrackIsTouched) {
    EXPECT_EQ(delegate->playlists(), QStringList{"Rock"});
    delegate->setProperty("selectedMethod", 0);
    delegate->setProperty("selectedPlaylist", 0);
    delegate->setProperty("searchString", "Song");
    delegate->setProperty("replaceString", "Tune");
    ASSERT_TRUE(runToEnd([&] { delegate->performSearchReplace(); }));
    ASSERT_TRUE(delegate->changes());
    ASSERT_EQ(delegate->changes()->records.size(), 5);
    EXPECT_TRUE(delegate->changes()->records.first().track.isLibraryTrack());

    rock().at(3)->setProperty("artist", QStringLiteral("Touched"));
    EXPECT_FALSE(runToEnd([&] { delegate->applyChanges(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList{"Tessel"});
    EXPECT_EQ(libraryTitles(), (QStringList{"Tune 1", "Tune 2", "Tune 3", "Song 4", "Song 5"}));
    EXPECT_EQ(MusicTrack::withPath(files.at(0)).title(), QStringLiteral("Tune 1"));
    EXPECT_EQ(MusicTrack::withPath(files.at(4)).title(), QStringLiteral("Song 5"));
}

TEST_F(AppDelegateLibraryTest, FillingTheLibraryEndsInItsCountsOrInWhyItFailed) {
    temp.copyFixture("tagged.flac", QStringLiteral("more/a.flac"));
    temp.copyFixture("tagged.mp3", QStringLiteral("more/b.mp3"));
    EXPECT_TRUE(runToEnd([&] { delegate->performAddFolder(temp.filePath("more"), "New"); }));
    EXPECT_EQ(presenter().alertLines().last(),
              QStringLiteral("Library Updated: Tracks: 2 added, 0 already in the library. 2 added "
                             "to the playlist “New”."));
    EXPECT_EQ(delegate->playlists(), (QStringList{"Rock", "New"}));

    // A file that is no library export changes nothing and says why.
    const QString bad = temp.writeFile("bad.xml", "<plist><dict><key>Tracks</key>");
    EXPECT_FALSE(runToEnd([&] { delegate->performImportLibrary(bad); }));
    EXPECT_TRUE(presenter().alertLines().last().startsWith("Import Failed: "));
    EXPECT_EQ(delegate->playlists(), (QStringList{"Rock", "New"}));

    // Stopped from the sheet as soon as it shows: nothing added, no alert.
    const int alerts = int(presenter().alerts.size());
    presenter().onProgressSheet = [&] { delegate->cancelRun(); };
    EXPECT_FALSE(runToEnd([&] { delegate->performAddFolder(temp.filePath("more"), "Other"); }));
    presenter().onProgressSheet = nullptr;
    EXPECT_EQ(presenter().alerts.size(), alerts);
    EXPECT_EQ(delegate->playlists(), (QStringList{"Rock", "New"}));

    // The selection's size follows the library.
    library()->select(rock().mid(1, 3));
    delegate->refreshSelectionCount();
    EXPECT_EQ(delegate->selectedTrackCount(), 3);
}

}  // namespace
}  // namespace tessel
