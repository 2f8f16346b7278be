// The library maintenance tools in the window: the Playlist Manager page shows only the
// settings its choices use and starts its tool.
#include "GuiTestSupport.h"
#include "gui/ChangePanelDialog.h"
#include "gui/MiscellaneousPage.h"
#include "gui/PlaylistManagerPage.h"
#include "gui/PopUpButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace tessel::gui::test {
namespace {

class MaintenancePagesTest : public GuiTest {
  protected:
    PlaylistManagerPage* playlistPage() {
        window->showTab(2);
        return static_cast<PlaylistManagerPage*>(window->pageView(2));
    }
};

TEST_F(MaintenancePagesTest, PlaylistManagerShowsOnlyTheSettingsItsChoicesUse) {
    PlaylistManagerPage* page = playlistPage();
    struct Row {
        int condition, action;
        bool caseShown, targetShown, trashShown;
    };
    const QList<Row> table{
        {2, 0, true, true, false},    // contains, add
        {6, 1, true, false, true},    // an expression, remove
        {7, 0, false, true, false},   // a length
        {12, 1, false, false, true},  // a number
    };
    for (const Row& row : table) {
        delegate.setProperty("selectedCondition", row.condition);
        delegate.setProperty("selectedPlaylistAction", row.action);
        const int line = static_cast<int>(&row - table.data());
        EXPECT_FALSE(page->conditionField()->isHidden()) << line;
        EXPECT_EQ(!page->ignoreCaseBox()->isHidden(), row.caseShown) << line;
        EXPECT_EQ(!page->targetPopUp()->isHidden(), row.targetShown) << line;
        EXPECT_EQ(!page->trashBox()->isHidden(), row.trashShown) << line;
    }
    EXPECT_EQ(page->conditionPopUp()->count(), 13);
    EXPECT_EQ(page->tagPopUp()->count(), 19);
}

TEST_F(MaintenancePagesTest, PlaylistManagerAddsTheMatchingTracksFromItsPage) {
    for (const char* title : {"Alive (LIVE)", "Studio"})
        library.append(music, library.addTrack(title, "Artist", "/m/a.mp3"));
    library.addPlaylist("Favourites");
    delegate.refreshPlaylists();
    PlaylistManagerPage* page = playlistPage();
    page->conditionPopUp()->setCurrentIndex(2);
    QTest::keyClicks(page->conditionField(), "live");
    page->actionPopUp()->setCurrentIndex(0);
    page->targetPopUp()->setCurrentIndex(1);
    page->startButton()->click();
    ASSERT_TRUE(waitFor([this] { return window->changePanel()->isVisible(); }));
    EXPECT_EQ(window->changePanel()->infoLine()->text(),
              "Checked tracks of these 1 tracks will added to the playlist 'Favourites':");
}

TEST_F(MaintenancePagesTest, RemoveDeadTracksFromTheMiscellaneousPage) {
    library.append(music, library.addTrack("Alive", "Artist", "/m/a.mp3"));
    library.append(music, library.addTrack("Gone", "Artist"));
    delegate.setProperty("selectedMethod", 1);
    window->showTab(5);
    auto* misc = static_cast<MiscellaneousPage*>(window->pageView(5));
    misc->removeDeadButton()->click();
    ASSERT_TRUE(waitFor([this] { return window->changePanel()->isVisible(); }));
    EXPECT_EQ(window->changePanel()->infoLine()->text(),
              "Checked tracks of these 1 tracks will removed from the playlist 'Music':");
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), 0);
}

TEST_F(MaintenancePagesTest, WriteStatsProposesTheFilesThatLackTheirRatings) {
    const QString path = temp.copyFixture("tagged.flac", "music/song.flac");
    tessel::test::MemoryTrack track = library.addTrack("Song", "Artist", path);
    track->properties.insert("rating", qint64(60));
    library.append(music, track);
    window->showTab(5);
    auto* misc = static_cast<MiscellaneousPage*>(window->pageView(5));
    misc->writeStatsButton()->click();
    ASSERT_TRUE(waitFor([this] { return window->changePanel()->isVisible(); }));
    ASSERT_EQ(delegate.changes()->records.size(), 1);
    EXPECT_EQ(delegate.changes()->records.first().newTag.toString(), "FMPS_RATING 0.6");
}

TEST_F(MaintenancePagesTest, RelinkAsksForTheFolderAndProposesTheNewLocation) {
    const QString path = temp.copyFixture("tagged.mp3", "moved/song.mp3");  // Song, Artist, Album
    tessel::test::MemoryTrack track = library.addTrack("Song", "Artist");
    track->properties.insert("album", "Album");
    library.append(music, track);
    window->showTab(5);
    auto* misc = static_cast<MiscellaneousPage*>(window->pageView(5));
    window->setFolderChooser(
        [this](QWidget*, const QUrl&) { return QUrl::fromLocalFile(temp.filePath("moved")); });
    misc->relinkButton()->click();
    ASSERT_TRUE(waitFor([this] { return window->changePanel()->isVisible(); }));
    ASSERT_EQ(answerer.alerts.size(), 1);
    EXPECT_TRUE(answerer.alerts.first().startsWith("Music Folder Needed"))
        << answerer.alerts.first().toStdString();
    EXPECT_EQ(window->changePanel()->infoLine()->text(),
              "Checked tracks of these 1 tracks will get their tag 'location' changed:");
    EXPECT_EQ(delegate.changes()->records.first().newTag.toString(), path);
}

}  // namespace
}  // namespace tessel::gui::test
