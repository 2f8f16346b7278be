// The controller's library maintenance tools over an in-memory library: the Playlist
// Manager's hand-over and what applying it does to the playlists.
#include "MemoryLibrary.h"
#include "RunToEnd.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "model/MusicTrack.h"
#include "tags/TagCatalogue.h"

#include <QSignalSpy>

namespace tessel {
namespace {

QStringList& logLines() {
    static QStringList lines;
    return lines;
}

void recordLog(QtMsgType, const QMessageLogContext&, const QString& message) {
    logLines().append(message);
}

// Collects the lines logged while it lives.
struct LogCatcher {
    LogCatcher() : previous(qInstallMessageHandler(recordLog)) { logLines().clear(); }
    ~LogCatcher() { qInstallMessageHandler(previous); }
    QtMessageHandler previous;
};

class AppDelegateMaintenanceTest : public test::TesselTest {
  protected:
    AppDelegateMaintenanceTest() : delegate(library.provider(), presenter()) {
        source = library.addPlaylist(QStringLiteral("Concerts"));
        decoy = library.addPlaylist(QStringLiteral("Best"));
        smart = library.addPlaylist(QStringLiteral("Recent"), true);
        target = library.addPlaylist(QStringLiteral("Best"));
        delegate.applicationDidFinishLaunching();
    }

    bool runToEnd(const std::function<void()>& action) { return test::runToEnd(delegate, action); }

    test::MemoryTrack add(const test::MemoryPlaylist& playlist, const QString& name,
                          std::optional<QString> location = QStringLiteral("/m/a.mp3")) {
        test::MemoryTrack track = library.addTrack(name, "Artist", std::move(location));
        library.append(playlist, track);
        return track;
    }

    // The Playlist Manager on the source playlist: titles containing "live".
    void choosePlaylistRun(int action) {
        delegate.setProperty("selectedMethod", 1);  // the tool switches back to the playlist
        delegate.setProperty("selectedPlaylist",
                             int(delegate.playlistIds().indexOf(source->persistentId)));
        delegate.setProperty("selectedTag", 0);
        delegate.setProperty("selectedCondition", 2);
        delegate.setProperty("conditionString", QStringLiteral("live"));
        delegate.setProperty("selectedPlaylistAction", action);
        delegate.setProperty("selectedPlaylistActionPlaylist",
                             int(delegate.editablePlaylistIds().indexOf(target->persistentId)));
    }

    test::MemoryLibrary library;
    test::MemoryPlaylist source, decoy, smart, target;
    AppDelegate delegate;
};

TEST_F(AppDelegateMaintenanceTest, PlaylistManagerAddsToTheChosenPlaylistOnce) {
    add(source, "Alive (LIVE)");
    const test::MemoryTrack present = add(source, "Live at Leeds");
    add(source, "Studio");
    library.append(target, present);
    choosePlaylistRun(0);
    ASSERT_TRUE(runToEnd([&] { delegate.performPlaylist(); }));
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), 0);
    ASSERT_TRUE(delegate.changes());
    EXPECT_EQ(delegate.changes()->records.size(), 2);  // the present track is still proposed
    ASSERT_EQ(presenter().changePanels.size(), 1);
    EXPECT_EQ(presenter().changePanels.first().infoLine,
              "Checked tracks of these 2 tracks will added to the playlist 'Best':");
    EXPECT_FALSE(presenter().changePanels.first().valueColumnsVisible);

    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    // The second "Best" is the one chosen; the one present track is not added twice.
    EXPECT_EQ(test::MemoryLibrary::names(target), QStringList({"Live at Leeds", "Alive (LIVE)"}));
    EXPECT_TRUE(decoy->entries.isEmpty());
    EXPECT_EQ(test::MemoryLibrary::names(source).size(), 3);
}

TEST_F(AppDelegateMaintenanceTest, PlaylistManagerRemovesFromTheSourceAndTrashesFiles) {
    const QString kept = temp.copyFixture("tagged.mp3", "kept.mp3");
    const QString trashed = temp.copyFixture("tagged.mp3", "trashed.mp3");
    add(source, "Studio", kept);
    add(source, "Live", trashed);
    add(source, "Live Stream", std::nullopt)->className = QStringLiteral("ITunesURLTrack");
    choosePlaylistRun(1);
    delegate.setProperty("moveTrash", true);
    ASSERT_TRUE(runToEnd([&] { delegate.performPlaylist(); }));
    ASSERT_TRUE(delegate.changes());
    EXPECT_EQ(presenter().changePanels.first().infoLine,
              "Checked tracks of these 2 tracks will removed from the playlist 'Concerts':");
    EXPECT_TRUE(delegate.changes()->trash);
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(test::MemoryLibrary::names(source), QStringList({"Studio"}));
    EXPECT_TRUE(QFile::exists(kept));
    // Where the desktop has no trash the file stays; it never goes anywhere but the trash.
    if (QFile::exists(trashed))
        GTEST_SKIP() << "no trash can here";
}

TEST_F(AppDelegateMaintenanceTest, PlaylistManagerWithoutMatchesSaysNoChanges) {
    add(source, "Studio");
    choosePlaylistRun(0);
    delegate.setProperty("conditionString", QVariant());
    EXPECT_TRUE(runToEnd([&] { delegate.performPlaylist(); }));
    EXPECT_EQ(delegate.property("conditionString").toString(), QString(""));
    EXPECT_FALSE(delegate.changes());
    EXPECT_EQ(presenter().alertLines(),
              QStringList({"No Changes: The conditions you've entered don't lead to any changes "
                           "in your playlists."}));

    // A check that fails stops the run before anything is gathered.
    delegate.setProperty("selectedCondition", 7);
    delegate.setProperty("conditionString", QStringLiteral("abc"));
    EXPECT_FALSE(runToEnd([&] { delegate.performPlaylist(); }));
    EXPECT_EQ(presenter().alertTitles().last(), "Invalid Data");
    EXPECT_EQ(presenter().progressShown, 1);
}

TEST_F(AppDelegateMaintenanceTest, DeadTracksAreFileTracksWithoutALocation) {
    add(source, "Alive");
    add(source, "Gone One", std::nullopt);
    add(source, "Radio", std::nullopt)->className = QStringLiteral("ITunesURLTrack");
    add(source, "Gone Two", std::nullopt);
    delegate.setProperty("selectedPlaylist",
                         int(delegate.playlistIds().indexOf(source->persistentId)));
    delegate.setProperty("selectedMethod", 2);  // the tool switches back to the playlist
    ASSERT_TRUE(runToEnd([&] { delegate.performDead(); }));
    ASSERT_TRUE(delegate.changes());
    EXPECT_EQ(presenter().changePanels.first().infoLine,
              "Checked tracks of these 2 tracks will removed from the playlist 'Concerts':");
    EXPECT_FALSE(delegate.changes()->trash);
    EXPECT_EQ(delegate.changes()->records.at(1).title, "Gone Two");
    EXPECT_EQ(delegate.changes()->records.at(1).artist, "Artist");

    // An unchecked dead track stays in the playlist.
    delegate.checkSelected({1}, 0);
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(test::MemoryLibrary::names(source), QStringList({"Alive", "Radio", "Gone Two"}));
}

TEST_F(AppDelegateMaintenanceTest, NoDeadTracksInStreamsOrAnEmptyPlaylist) {
    const QString alert =
        "No Dead Tracks: No dead tracks to remove were found in the selected playlist.";
    add(source, "Radio", std::nullopt)->className = QStringLiteral("ITunesURLTrack");
    add(source, "Cloud", std::nullopt)->className = QStringLiteral("ITunesSharedTrack");
    for (const test::MemoryPlaylist& playlist : {source, target}) {
        delegate.setProperty("selectedPlaylist",
                             int(delegate.playlistIds().indexOf(playlist->persistentId)));
        EXPECT_TRUE(runToEnd([&] { delegate.performDead(); }));
        EXPECT_FALSE(delegate.changes());
        EXPECT_EQ(presenter().alertLines().last(), alert);
    }
    EXPECT_EQ(presenter().alertLines().size(), 2);
    // A playlist that is gone: its own alert, and no "No Dead Tracks".
    delegate.setProperty("selectedPlaylist", 99);
    EXPECT_FALSE(runToEnd([&] { delegate.performDead(); }));
    EXPECT_EQ(presenter().alertTitles().last(), "Playlist Not Found");
    EXPECT_EQ(presenter().progressHidden, 3);
}

// ---- re-linking ----

class RelinkTest : public AppDelegateMaintenanceTest {
  protected:
    // A copy of the fixture in the music folder with these tags.
    QString musicFile(const QString& as, const QString& title, const QString& artist,
                      const QString& album) {
        const QString path = temp.copyFixture("tagged.mp3", "music/" + as);
        const MusicTrack file = MusicTrack::withPath(path);
        file.setTag("name", title);
        file.setTag("artist", artist);
        file.setTag("album", album);
        return path;
    }

    test::MemoryTrack dead(const QString& title, const QString& album) {
        test::MemoryTrack track = add(source, title, std::nullopt);
        track->properties.insert("album", album);
        return track;
    }

    void chooseSource() {
        delegate.setProperty("selectedPlaylist",
                             int(delegate.playlistIds().indexOf(source->persistentId)));
        presenter().folderAnswer = QUrl::fromLocalFile(temp.filePath("music"));
    }

    QStringList details;
};

TEST_F(RelinkTest, ExactlyOneMatchingFileGivesARecordAndSeveralAreLogged) {
    const QString one = musicFile("one.mp3", "One", "Artist", "Album");
    musicFile("two-a.mp3", "Two", "Artist", "Album");
    musicFile("two-b.mp3", "Two", "Artist", "Album");
    musicFile("three-case.mp3", "three", "Artist", "Album");  // differs in letter case only
    add(source, "Alive", one);
    dead("One", "Album");
    dead("Two", "Album");
    dead("Three", "Album");
    chooseSource();
    QObject::connect(&delegate, &AppDelegate::currentProgressDetailChanged, &delegate,
                     [this] { details.append(delegate.currentProgressDetail()); });
    LogCatcher log;
    ASSERT_TRUE(runToEnd([&] { delegate.performFix(); }));

    EXPECT_EQ(presenter().alertTitles(), QStringList({"Music Folder Needed"}));
    EXPECT_EQ(presenter().folderRequests.size(), 1);
    EXPECT_EQ(delegate.property("folderPath").toUrl(), *presenter().folderAnswer);
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), 0);
    ASSERT_TRUE(delegate.changes());
    ASSERT_EQ(delegate.changes()->records.size(), 1);
    const ChangeRecord& record = delegate.changes()->records.first();
    EXPECT_EQ(record.tagToChange, "location");
    EXPECT_EQ(record.oldTag.toString(), "");
    EXPECT_EQ(record.newTag.toString(), one);
    EXPECT_EQ(record.title, "One");
    EXPECT_FALSE(delegate.changes()->playlist);
    EXPECT_EQ(presenter().changePanels.first().infoLine,
              "Checked tracks of these 1 tracks will get their tag 'location' changed:");
    EXPECT_TRUE(delegate.metadataSearches().isEmpty());

    const QStringList scan{"1/4 (1/2) - Alive", "2/4 (1/2) - One", "3/4 (1/2) - Two",
                           "4/4 (1/2) - Three"};
    for (const QString& line : scan)
        EXPECT_TRUE(details.contains(line)) << line.toStdString();
    QStringList countdown;
    for (const QString& line : details) {
        if (line.endsWith(" left]"))
            countdown.append(line.section('[', 1));
    }
    EXPECT_EQ(countdown, QStringList({"3 left]", "2 left]", "1 left]"}));

    EXPECT_TRUE(logLines().contains(
        "(kMDItemContentTypeTree == 'public.audio') && (kMDItemAuthors == Artist) && "
        "(kMDItemTitle == Two) && (kMDItemAlbum == Album)"));
    QStringList candidates;
    for (const QString& line : logLines()) {
        if (line.startsWith("result at "))
            candidates.append(line);
    }
    ASSERT_EQ(candidates.size(), 2);
    EXPECT_TRUE(candidates.at(0).startsWith("result at 0 - " + temp.filePath("music/two-")));
    EXPECT_TRUE(candidates.at(1).endsWith("  | two-b.mp3   |   Album  |   Two  Artist "))
        << candidates.at(1).toStdString();

    // Applying points the dead track at its file; the playlist keeps its entry.
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(source->entries.at(1).track->location, one);
    EXPECT_EQ(test::MemoryLibrary::names(source).size(), 4);
}

TEST_F(RelinkTest, NoDeadTrackEndsWithoutAnySearch) {
    musicFile("one.mp3", "One", "Artist", "Album");
    add(source, "Alive");
    chooseSource();
    LogCatcher log;
    EXPECT_TRUE(runToEnd([&] { delegate.performFix(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"Music Folder Needed", "No Fixed Tracks"}));
    EXPECT_EQ(presenter().alertLines().last(),
              "No Fixed Tracks: The selected playlist either does not contain dead tracks or the "
              "selected folder doesn't contain any missing original files. Also note that the "
              "selected folder has to have 'Spotlight' enabled.");
    EXPECT_EQ(presenter().progressShown, 1);
    EXPECT_EQ(presenter().progressHidden, 1);
    EXPECT_TRUE(logLines().filter("kMDItem").isEmpty());
}

TEST_F(RelinkTest, ACancelledChooserDoesNothing) {
    dead("One", "Album");
    chooseSource();
    presenter().folderAnswer.reset();
    const QUrl before = delegate.property("folderPath").toUrl();
    EXPECT_FALSE(runToEnd([&] { delegate.performFix(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"Music Folder Needed"}));
    EXPECT_EQ(presenter().progressShown, 0);
    EXPECT_EQ(delegate.property("folderPath").toUrl(), before);
}

TEST_F(RelinkTest, ALibraryErrorInTheScanEndsTheRunWithWhatWasFound) {
    const QString one = musicFile("one.mp3", "One", "Artist", "Album");
    dead("One", "Album");
    dead("Deleted meanwhile", "Album")->deleted = true;
    dead("Two", "Album");
    chooseSource();
    EXPECT_FALSE(runToEnd([&] { delegate.performFix(); }));
    ASSERT_EQ(presenter().alertTitles(), QStringList({"Music Folder Needed", "Scripting Error"}));
    EXPECT_TRUE(
        presenter().alertLines().last().endsWith("The tracks after it were not looked at."));
    ASSERT_TRUE(delegate.changes());
    ASSERT_EQ(delegate.changes()->records.size(), 1);
    EXPECT_EQ(delegate.changes()->records.first().newTag.toString(), one);
    EXPECT_EQ(presenter().progressHidden, 1);
    EXPECT_TRUE(delegate.metadataSearches().isEmpty());
}

TEST_F(RelinkTest, AFolderThatCannotBeReadFindsNothing) {
    dead("One", "Album");
    chooseSource();
    presenter().folderAnswer = QUrl::fromLocalFile(temp.filePath("nowhere"));
    EXPECT_TRUE(runToEnd([&] { delegate.performFix(); }));
    EXPECT_EQ(presenter().alertTitles().last(), "No Fixed Tracks");
    EXPECT_FALSE(delegate.changes());
    EXPECT_TRUE(delegate.metadataSearches().isEmpty());
}

}  // namespace
}  // namespace tessel
