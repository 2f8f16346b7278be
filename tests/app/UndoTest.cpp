// Taking back applied runs through the controller, over a real library file and real music
// files in a temporary folder.
#include "MemoryLibrary.h"
#include "RunToEnd.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"
#include "itunes/Connection.h"
#include "itunes/LibraryImport.h"
#include "itunes/MusicLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tessel {
namespace {

struct NullSink : ProgressSink {
    void setProgress(const QString&) override {}
};

class UndoTest : public test::TesselTest {
  protected:
    UndoTest()
        : library(itunes::libraryProvider(temp.filePath("library.sqlite"))),
          delegate(library, presenter()) {
        delegate.setAsksForRating(false);
        delegate.applicationDidFinishLaunching();
    }

    bool runToEnd(const std::function<void()>& action) { return test::runToEnd(delegate, action); }

    // Three copies of the tagged fixture (title Song, artist Artist) as the source.
    QStringList useFolderOfThree() {
        QStringList paths;
        for (int i = 1; i <= 3; ++i)
            paths.append(temp.copyFixture("tagged.mp3", QStringLiteral("music/%1.mp3").arg(i)));
        delegate.setProperty("folderPath", QUrl::fromLocalFile(temp.filePath("music")));
        delegate.pathSelected();
        return paths;
    }

    // Replaces Song by Tune in the titles and applies every change.
    void applySongToTune() {
        delegate.setProperty("selectedTag", 0);
        delegate.setProperty("searchString", QStringLiteral("Song"));
        delegate.setProperty("replaceString", QStringLiteral("Tune"));
        ASSERT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
        ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    }

    static QString titleAt(const QString& path) { return MusicTrack::withPath(path).title(); }

    itunes::ApplicationProvider library;
    AppDelegate delegate;
};

TEST_F(UndoTest, ASearchAndReplaceOverThreeFilesIsTakenBack) {
    const QStringList paths = useFolderOfThree();
    applySongToTune();
    for (const QString& path : paths)
        ASSERT_EQ(titleAt(path), "Tune");
    QList<itunes::RunSummary> history = delegate.runHistory();
    ASSERT_EQ(history.size(), 1);
    EXPECT_EQ(history.first().tool, "Search & Replace");
    EXPECT_EQ(history.first().written, 3);
    EXPECT_FALSE(history.first().undone);

    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    ASSERT_TRUE(delegate.changes());
    ASSERT_EQ(delegate.changes()->records.size(), 3);
    EXPECT_EQ(delegate.changes()->records.first().oldTag, "Tune");
    EXPECT_EQ(delegate.changes()->records.first().newTag, "Song");
    ASSERT_EQ(presenter().changePanels.size(), 2);
    EXPECT_TRUE(presenter().changePanels.last().infoLine.startsWith("Taking back run 1 (Search"));
    EXPECT_TRUE(presenter().changePanels.last().noteLine.isEmpty());
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    for (const QString& path : paths) {
        EXPECT_EQ(titleAt(path), "Song");
        EXPECT_EQ(MusicTrack::withPath(path).artist(), "Artist");
    }
    EXPECT_TRUE(presenter().alerts.isEmpty());

    // The undo is no run of its own, and a run taken back is not offered again.
    history = delegate.runHistory();
    ASSERT_EQ(history.size(), 1);
    EXPECT_TRUE(history.first().undone);
    EXPECT_FALSE(runToEnd([&] { delegate.performUndo(); }));
    EXPECT_EQ(presenter().alertLines(),
              QStringList{"Nothing to Undo: No applied run is left to take back."});
    EXPECT_FALSE(runToEnd([&] { delegate.performUndo(1); }));
    EXPECT_EQ(presenter().alertLines().last(), "Nothing to Undo: Run 1 was taken back already.");
}

TEST_F(UndoTest, RowsLeftUncheckedInAnUndoCanBeTakenBackLater) {
    const QStringList paths = useFolderOfThree();
    applySongToTune();
    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    delegate.checkSelected({0}, 0);
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_FALSE(delegate.runHistory().first().undone);

    // The second undo offers only what is still as the run left it, without calling the
    // value restored before a change made since.
    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    ASSERT_TRUE(delegate.changes());
    EXPECT_EQ(delegate.changes()->records.size(), 1);
    EXPECT_TRUE(presenter().changePanels.last().noteLine.isEmpty());
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    for (const QString& path : paths)
        EXPECT_EQ(titleAt(path), "Song");
    EXPECT_TRUE(delegate.runHistory().first().undone);
}

TEST_F(UndoTest, ValuesChangedSinceAndFilesGoneAreListedAndLeftAlone) {
    const QStringList paths = useFolderOfThree();
    applySongToTune();
    MusicTrack::withPath(paths.at(1)).setTag("name", "Mine");
    ASSERT_TRUE(QFile::remove(paths.at(2)));

    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    ASSERT_TRUE(delegate.changes());
    ASSERT_EQ(delegate.changes()->records.size(), 1);
    EXPECT_EQ(delegate.changes()->records.first().track.path(), paths.at(0));
    ASSERT_EQ(delegate.undoLeftAlone().size(), 2);
    const QString leftAlone = delegate.undoLeftAlone().join(u'\n');
    EXPECT_TRUE(leftAlone.contains("“name” is now “Mine”, not “Tune” as the run wrote"))
        << leftAlone.toStdString();
    EXPECT_TRUE(leftAlone.contains("Artist – Song: the file is no longer there"));
    ASSERT_EQ(presenter().alerts.size(), 1);
    EXPECT_EQ(presenter().alerts.first().title, "Changes Left Alone");
    EXPECT_TRUE(presenter().alerts.first().message.contains("Mine"));
    const QString note = presenter().changePanels.last().noteLine;
    EXPECT_TRUE(note.contains("1 value changed since the run")) << note.toStdString();
    EXPECT_TRUE(note.contains("1 track no longer found")) << note.toStdString();

    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(titleAt(paths.at(0)), "Song");
    EXPECT_EQ(titleAt(paths.at(1)), "Mine");
    EXPECT_TRUE(delegate.runHistory().first().undone);
}

TEST_F(UndoTest, AKilledRunIsTakenBackAsFarAsItGot) {
    const QStringList paths = useFolderOfThree();
    MusicTrack::withPath(paths.at(0)).setTag("name", "New");  // reached before the kill
    std::optional<itunes::RunJournal> journal = openRunJournal(library);
    ASSERT_TRUE(journal);
    QList<itunes::RunRecord> records;
    for (int i = 0; i < 3; ++i) {
        itunes::RunRecord record;
        record.position = i;
        record.path = paths.at(i);
        record.tag = QStringLiteral("name");
        record.oldValue = QStringLiteral("Song");
        record.newValue = QStringLiteral("New");
        records.append(record);
    }
    const qint64 run = journal->begin(QStringLiteral("Search & Replace"), records);
    ASSERT_EQ(journal->run(run)->written, 0);

    NullSink progress;
    const UndoPlan plan = planUndo(*journal, *library(), *journal->run(run), progress);
    ASSERT_EQ(plan.changes.records.size(), 1);
    EXPECT_EQ(plan.changes.records.first().track.path(), paths.at(0));
    EXPECT_TRUE(plan.leftAlone.isEmpty()) << "a record never written is not changed since";
}

TEST_F(UndoTest, RenamesOfTheFilenameChangerMoveBackLastFirst) {
    const QStringList paths = useFolderOfThree();
    // The second file takes the name the first one leaves, when they are renamed in order.
    const QStringList titles{"x", "1", "Three"};
    for (int i = 0; i < 3; ++i)
        MusicTrack::withPath(paths.at(i)).setTag("name", titles.at(i));
    delegate.setProperty("filenameString", QStringLiteral("#t"));
    ASSERT_TRUE(runToEnd([&] { delegate.performRename(true); }));
    ASSERT_FALSE(QFile::exists(paths.at(2)));
    ASSERT_EQ(delegate.runHistory().first().tool, "Filename Changer");

    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    ASSERT_TRUE(delegate.changes());
    EXPECT_EQ(delegate.changes()->records.size(), delegate.runHistory().first().written);
    EXPECT_TRUE(delegate.undoLeftAlone().isEmpty())
        << delegate.undoLeftAlone().join(u'\n').toStdString();
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(titleAt(paths.at(i)), titles.at(i)) << paths.at(i).toStdString();
    EXPECT_EQ(QDir(temp.filePath("music")).entryList(QDir::Files).size(), 3);
    EXPECT_TRUE(presenter().alerts.isEmpty()) << presenter().alertLines().join(u'\n').toStdString();

    // A file whose old name is taken since stays where it is, and is listed.
    ASSERT_TRUE(runToEnd([&] { delegate.performRename(true); }));
    const QString renamed = temp.filePath("music/Three.mp3");
    ASSERT_TRUE(QFile::exists(renamed));
    temp.copyFixture("plain.mp3", "music/3.mp3");
    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    EXPECT_TRUE(delegate.undoLeftAlone().join(u'\n').contains("“3.mp3” is taken"));
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_TRUE(QFile::exists(renamed));
    EXPECT_EQ(titleAt(paths.at(0)), "x");
}

class MembershipUndoTest : public UndoTest {
  protected:
    // Source holds Track 1, Track 3 and Track 2; Target holds Track 2.
    MembershipUndoTest() {
        for (const char* file : {"music/1.mp3", "music/3.mp3", "music/sub/2.mp3"}) {
            const QString path = temp.copyFixture("tagged.mp3", QString::fromLatin1(file));
            MusicTrack::withPath(path).setTag("name", "Track " + QFileInfo(path).baseName());
        }
        const auto connection = itunes::Connection::open(temp.filePath("library.sqlite"));
        itunes::importFolder(*connection, temp.filePath("music"), QStringLiteral("Source"));
        itunes::importFolder(*connection, temp.filePath("music/sub"), QStringLiteral("Target"));
        delegate.refreshPlaylists();
    }

    QStringList names(const QString& playlist) const {
        QStringList result;
        for (const itunes::TrackPtr& track : test::playlistNamed(*library(), playlist)->tracks())
            result.append(track->property("name").toString());
        return result;
    }

    void runPlaylistManager(int action, const QString& condition) {
        const auto id = [&](const QString& name) {
            return test::playlistNamed(*library(), name)->persistentId();
        };
        delegate.setProperty("selectedPlaylist", int(delegate.playlistIds().indexOf(id("Source"))));
        delegate.setProperty("selectedTag", 0);
        delegate.setProperty("selectedCondition", 2);
        delegate.setProperty("conditionString", condition);
        delegate.setProperty("selectedPlaylistAction", action);
        delegate.setProperty("selectedPlaylistActionPlaylist",
                             int(delegate.editablePlaylistIds().indexOf(id("Target"))));
        ASSERT_TRUE(runToEnd([&] { delegate.performPlaylist(); }));
        ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    }
};

TEST_F(MembershipUndoTest, TracksAddedToAPlaylistAreTakenOutAgainAndRemovedOnesComeBack) {
    runPlaylistManager(0, QStringLiteral("Track"));
    ASSERT_EQ(names("Target"), QStringList({"Track 2", "Track 1", "Track 3"}));
    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    ASSERT_TRUE(delegate.changes());
    EXPECT_EQ(delegate.changes()->records.size(), 2)
        << "Track 2 was in the playlist before the run: it stays";
    EXPECT_TRUE(presenter().changePanels.last().infoLine.contains("Playlist Manager"));
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(names("Target"), QStringList({"Track 2"}));
    EXPECT_EQ(names("Source"), QStringList({"Track 1", "Track 3", "Track 2"}));

    runPlaylistManager(1, QStringLiteral("Track 3"));
    ASSERT_EQ(names("Source"), QStringList({"Track 1", "Track 2"}));
    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(names("Source"), QStringList({"Track 1", "Track 2", "Track 3"}));
    EXPECT_TRUE(presenter().alerts.isEmpty()) << presenter().alertLines().join(u'\n').toStdString();

    const QList<itunes::RunSummary> history = delegate.runHistory();
    ASSERT_EQ(history.size(), 2);
    EXPECT_EQ(history.at(0).written, 1);
    EXPECT_EQ(history.at(1).written, 2);
}

TEST_F(MembershipUndoTest, ChangesToLibraryTracksGoBackInTheLibraryAndTheirFiles) {
    delegate.setProperty("selectedMethod", 0);
    delegate.setProperty(
        "selectedPlaylist",
        int(delegate.playlistIds().indexOf(
            test::playlistNamed(*library(), QStringLiteral("Source"))->persistentId())));
    delegate.setProperty("selectedTag", 0);
    delegate.setProperty("searchString", QStringLiteral("Track"));
    delegate.setProperty("replaceString", QStringLiteral("Piece"));
    ASSERT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    ASSERT_EQ(names("Source"), QStringList({"Piece 1", "Piece 3", "Piece 2"}));
    const QString file = temp.filePath("music/sub/2.mp3");
    ASSERT_EQ(MusicTrack::withPath(file).title(), "Piece 2");

    // Another tagger changed one file; the library still holds what the run wrote.
    const QString theirs = temp.filePath("music/3.mp3");
    MusicTrack::withPath(theirs).setTag("name", "Theirs");

    ASSERT_TRUE(runToEnd([&] { delegate.performUndo(); }));
    ASSERT_TRUE(delegate.changes());
    ASSERT_EQ(delegate.changes()->records.size(), 2);
    EXPECT_TRUE(delegate.changes()->records.first().track.isLibraryTrack());
    ASSERT_EQ(delegate.undoLeftAlone().size(), 1);
    EXPECT_TRUE(delegate.undoLeftAlone().first().endsWith(
        "its file holds “Theirs” since, not “Piece 3” as the run wrote"));
    presenter().alerts.clear();
    ASSERT_TRUE(runToEnd([&] { delegate.applyChanges(); }));
    EXPECT_EQ(names("Source"), QStringList({"Track 1", "Piece 3", "Track 2"}));
    EXPECT_EQ(MusicTrack::withPath(file).title(), "Track 2");
    EXPECT_EQ(MusicTrack::withPath(theirs).title(), "Theirs");
    EXPECT_TRUE(presenter().alerts.isEmpty()) << presenter().alertLines().join(u'\n').toStdString();
}

}  // namespace
}  // namespace tessel
