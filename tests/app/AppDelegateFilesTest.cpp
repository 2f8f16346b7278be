// The controller's files tools over an in-memory library: the size estimate's message, the
// export through the save dialog, and the Filename Changer's checks and the library following
// renamed files.
#include "MemoryLibrary.h"
#include "RunToEnd.h"
#include "TestSupport.h"
#include "app/AppDelegate.h"

#include <QDir>
#include <QFileInfo>

namespace tessel {
namespace {

class AppDelegateFilesTest : public test::TesselTest {
  protected:
    AppDelegateFilesTest() : delegate(library.provider(), presenter()) {
        music = library.addPlaylist(QStringLiteral("Music/Live"));
        delegate.applicationDidFinishLaunching();
    }

    bool runToEnd(const std::function<void()>& action) { return test::runToEnd(delegate, action); }

    test::MemoryTrack addTrack(const QString& name, QVariantMap more,
                               std::optional<QString> location = std::nullopt) {
        test::MemoryTrack track = library.addTrack(name, "Artist", std::move(location));
        for (auto it = more.cbegin(); it != more.cend(); ++it)
            track->properties.insert(it.key(), it.value());
        library.append(music, track);
        return track;
    }

    void useFolder(const QString& path) {
        delegate.setProperty("folderPath", QUrl::fromLocalFile(path));
    }

    test::MemoryLibrary library;
    test::MemoryPlaylist music;
    AppDelegate delegate;
};

TEST_F(AppDelegateFilesTest, SizeEstimateEndsInItsMessage) {
    addTrack("Long", {{"duration", 300.0}, {"bitRate", qint64(320)}, {"album", ""}});
    delegate.setProperty("selectedBitrate", 1);
    EXPECT_TRUE(runToEnd([&] { delegate.performCalculate(); }));
    ASSERT_EQ(presenter().alerts.size(), 1);
    EXPECT_EQ(presenter().alerts.first().title, "Playlist/Folder size");
    EXPECT_TRUE(presenter().alerts.first().message.contains(
        "approximately 11.72 MB with an average bitrate of 320.0 kbps"));
    EXPECT_TRUE(presenter().alerts.first().message.contains("down to 192 kbps"));
    EXPECT_EQ(delegate.currentProgressTitle(), "Calculating results…");

    // A source that cannot be gathered has said so; no estimate follows.
    presenter().alerts.clear();
    useFolder(temp.filePath("nothing-here"));
    delegate.pathSelected();
    EXPECT_FALSE(runToEnd([&] { delegate.performCalculate(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"No Files"}));
}

TEST_F(AppDelegateFilesTest, ExportSavesThroughTheDialogUnderThePlaylistsName) {
    addTrack("It's", {{"duration", 215.51}, {"album", "A & B"}});
    const QString path = temp.filePath("out.xml");
    presenter().savePath = path;
    EXPECT_TRUE(runToEnd([&] { delegate.performExport(2); }));
    // A "/" in the playlist's name would point the proposed file elsewhere.
    EXPECT_EQ(presenter().saveDialogs, QStringList({"Music-Live.xml"}));
    EXPECT_EQ(QString::fromUtf8(test::fileBytes(path)),
              "<?xml version=\"1.0\"?>\n<playlist name='Music/Live'>\n<track artist='Artist' "
              "title='It&apos;s' album='A &amp; B' duration='215.5' />\n</playlist>\n");

    // Cancelled: nothing is written.
    presenter().savePath.reset();
    EXPECT_TRUE(runToEnd([&] { delegate.performExport(1); }));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath("out.txt")));

    // A write that fails is said, not passed over.
    presenter().savePath = temp.filePath("no/such/folder/out.txt");
    EXPECT_FALSE(runToEnd([&] { delegate.performExport(1); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"Export Failed"}));
}

TEST_F(AppDelegateFilesTest, RenameChecksComeInTheirOrder) {
    // Without a library the "iTunes" alert comes first, even with no folder chosen.
    AppDelegate noLibrary(nullptr, presenter());
    EXPECT_FALSE(test::runToEnd(noLibrary, [&] { noLibrary.performRename(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"iTunes"}));

    presenter().alerts.clear();
    EXPECT_FALSE(runToEnd([&] { delegate.performRename(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"No Folder"}));

    presenter().alerts.clear();
    const QString managed = temp.filePath("iTunes/iTunes Music/Album");
    QDir().mkpath(managed);
    const QString song = temp.copyFixture("tagged.mp3", "iTunes/iTunes Music/Album/x.mp3");
    useFolder(managed);
    presenter().answers = {kAlertDefault};  // "Cancel"
    EXPECT_FALSE(runToEnd([&] { delegate.performRename(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"Warning"}));
    EXPECT_TRUE(QFileInfo::exists(song));
    presenter().answers = {kAlertAlternate};  // "Continue"
    EXPECT_TRUE(runToEnd([&] { delegate.performRename(); }));
    EXPECT_TRUE(QFileInfo::exists(managed + "/3 - Song.mp3"));

    presenter().alerts.clear();
    useFolder(temp.filePath("iTunes"));
    EXPECT_FALSE(runToEnd([&] { delegate.performRename(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"No Files"}));
}

TEST_F(AppDelegateFilesTest, TheLibraryFollowsRenamedFiles) {
    const QString held = temp.copyFixture("tagged.mp3", "album/held.mp3");
    const QString loose = temp.copyFixture("tagged-v1.mp3", "album/loose.mp3");
    const test::MemoryTrack track = addTrack("Song", {}, held);
    useFolder(temp.filePath("album"));
    delegate.setProperty("filenameString", "#t #n #y");
    delegate.setProperty("renameSkipMissing", true);

    // The dry run renames nothing.
    QList<Rename> reported;
    QObject::connect(&delegate, &AppDelegate::filesRenamed,
                     [&reported](const QList<Rename>& renames) { reported = renames; });
    EXPECT_TRUE(runToEnd([&] { delegate.performRename(false); }));
    EXPECT_EQ(reported.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(held));
    EXPECT_EQ(track->location, held);

    // Both files hold "Song 3 1999": the first in listing order takes the name.
    EXPECT_TRUE(runToEnd([&] { delegate.performRename(); }));
    const QString renamed = temp.filePath("album/Song 3 1999.mp3");
    ASSERT_TRUE(QFileInfo::exists(renamed));
    if (!QFileInfo::exists(held))
        EXPECT_EQ(track->location, renamed);
    else
        EXPECT_EQ(track->location, held);
    EXPECT_NE(QFileInfo::exists(held), QFileInfo::exists(loose));
    EXPECT_TRUE(presenter().alerts.isEmpty());
}

TEST_F(AppDelegateFilesTest, ARenameThatFailsIsSaidAndChangesNothing) {
    const QString held = temp.copyFixture("tagged.mp3", "album/held.mp3");
    const test::MemoryTrack track = addTrack("Song", {}, held);
    useFolder(temp.filePath("album"));
    library.refuseRenames();
    EXPECT_FALSE(runToEnd([&] { delegate.performRename(); }));
    EXPECT_EQ(presenter().alertTitles(), QStringList({"Files Not Renamed"}));
    EXPECT_TRUE(presenter().alerts.first().message.contains("refused"));
    EXPECT_TRUE(QFileInfo::exists(held));
    EXPECT_EQ(track->location, held);
}

}  // namespace
}  // namespace tessel
