// The pages of the tag tools besides Search & Replace: each starts its tool from its own
// controls, and the Data Mover shows only the settings its choices use.
#include "GuiTestSupport.h"
#include "gui/CapitalizationPage.h"
#include "gui/ChangePanelDialog.h"
#include "gui/ChangeTableModel.h"
#include "gui/DataMoverPage.h"
#include "gui/FilenameChangerPage.h"
#include "gui/MiscellaneousPage.h"
#include "gui/PopUpButton.h"
#include "gui/TrackSourceBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace tessel::gui::test {
namespace {

class ToolPagesTest : public GuiTest {
  protected:
    tessel::test::MemoryTrack addToMusic(const QString& title) {
        tessel::test::MemoryTrack track =
            library.addTrack(title, "Artist", "/music/" + title + ".mp3");
        library.append(music, track);
        return track;
    }
    template <typename Page>
    Page* page(int index) {
        window->showTab(index);
        return static_cast<Page*>(window->pageView(index));
    }
    QString newValue(int row) const {
        return window->changePanel()
            ->table()
            ->model()
            ->index(row, ChangeTableModel::NewValue)
            .data()
            .toString();
    }
    bool panelOpens() {
        return waitFor([this] { return window->changePanel()->isVisible(); });
    }
};

TEST_F(ToolPagesTest, CapitalizationProposesTheChosenCase) {
    addToMusic("the sound of music");
    addToMusic("Live in London");
    auto* capitalization = page<CapitalizationPage>(1);
    capitalization->casePopUp()->setCurrentIndex(0);  // title case
    capitalization->startButton()->click();
    ASSERT_TRUE(panelOpens());
    EXPECT_EQ(window->changePanel()->infoLine()->text(),
              "Checked tracks of these 1 tracks will get their tag 'name' changed:");
    EXPECT_EQ(newValue(0), "The Sound of Music");
}

TEST_F(ToolPagesTest, DataMoverCopiesTheMatchesOfAnExpression) {
    addToMusic("Track 01 of 12")->properties.insert("comment", "old");
    auto* mover = page<DataMoverPage>(3);
    mover->actionPopUp()->setCurrentIndex(1);   // copy
    mover->targetPopUp()->setCurrentIndex(5);   // comment
    mover->portionPopUp()->setCurrentIndex(3);  // the matches of an expression
    QTest::keyClicks(mover->expressionField(), "\\d+");
    mover->startButton()->click();
    ASSERT_TRUE(panelOpens());
    EXPECT_EQ(window->changePanel()->infoLine()->text(),
              "Checked tracks of these 1 tracks will get their tag 'comment' changed:");
    EXPECT_EQ(newValue(0), "0112");
}

TEST_F(ToolPagesTest, ASwapShowsWhichTagEachRowWrites) {
    addToMusic("Title A")->properties.insert("comment", "Comment A");
    auto* mover = page<DataMoverPage>(3);
    mover->actionPopUp()->setCurrentIndex(0);  // swap
    mover->targetPopUp()->setCurrentIndex(5);  // comment
    mover->startButton()->click();
    ASSERT_TRUE(panelOpens());
    QTableView* table = window->changePanel()->table();
    EXPECT_FALSE(table->isColumnHidden(ChangeTableModel::Tag));
    EXPECT_EQ(table->model()->index(0, ChangeTableModel::Tag).data(), "Title");
    EXPECT_EQ(table->model()->index(1, ChangeTableModel::Tag).data(), "Comment");
    window->changePanel()->reject();
}

TEST_F(ToolPagesTest, DataMoverShowsOnlyTheSettingsItsChoicesUse) {
    auto* mover = page<DataMoverPage>(3);
    struct Row {
        int action, portion, placement;
        bool copyLive, lengthShown, lengthLive, expressionShown, delimiterLive;
    };
    const QList<Row> table{
        {0, 1, 1, false, true, true, false, true},   // a swap: the copy settings rest
        {1, 0, 0, true, true, false, false, false},  // the whole value needs no length
        {1, 1, 1, true, true, true, false, true},    // first characters, appended
        {1, 2, 2, true, true, true, false, true},    // all but the first, in front
        {1, 3, 0, true, false, true, true, false},   // the matches of an expression
    };
    for (const Row& row : table) {
        delegate.setProperty("selectedAction", row.action);
        delegate.setProperty("selectedPortion", row.portion);
        delegate.setProperty("selectedOption", row.placement);
        const int line = static_cast<int>(&row - table.data());
        EXPECT_EQ(mover->copyBox()->isEnabled(), row.copyLive) << line;
        EXPECT_EQ(!mover->lengthField()->isHidden(), row.lengthShown) << line;
        EXPECT_EQ(mover->lengthField()->isEnabledTo(mover->copyBox()), row.lengthLive) << line;
        EXPECT_EQ(!mover->expressionField()->isHidden(), row.expressionShown) << line;
        EXPECT_EQ(!mover->ignoreCaseBox()->isHidden(), row.expressionShown) << line;
        EXPECT_EQ(mover->delimiterField()->isEnabledTo(mover->copyBox()), row.delimiterLive)
            << line;
    }
}

TEST_F(ToolPagesTest, EncodingConverterStartsFromItsSectionWithReturn) {
    addToMusic("CafÃ©");
    auto* misc = page<MiscellaneousPage>(5);
    misc->fromPopUp()->setCurrentIndex(2);  // ISO 8859-1
    misc->toPopUp()->setCurrentIndex(1);    // UTF-8
    misc->toPopUp()->setFocus();
    QTest::keyClick(misc->toPopUp(), Qt::Key_Return);
    ASSERT_TRUE(panelOpens());
    EXPECT_EQ(newValue(0), "Café");
}

TEST_F(ToolPagesTest, NumericTagChangerWritesTheSelectionAtOnce) {
    const tessel::test::MemoryTrack first = addToMusic("One");
    const tessel::test::MemoryTrack second = addToMusic("Two");
    first->properties.insert("year", 1999);
    library.select({first, second});
    auto* misc = page<MiscellaneousPage>(5);
    misc->numericTagPopUp()->setCurrentIndex(4);  // year
    misc->operationPopUp()->setCurrentIndex(0);   // set to
    QTest::keyClicks(misc->numberField(), "2000");
    misc->numberField()->setFocus();
    EXPECT_TRUE(runToEnd([&] { QTest::keyClick(misc->numberField(), Qt::Key_Return); }));
    EXPECT_FALSE(window->changePanel()->isVisible());
    EXPECT_EQ(first->properties.value("year").toInt(), 2000);
    EXPECT_EQ(second->properties.value("year").toInt(), 2000);
    EXPECT_TRUE(answerer.alerts.isEmpty()) << answerer.alerts.join('\n').toStdString();
    EXPECT_EQ(window->statusText(), "Wrote Year on 2 tracks.");
    EXPECT_TRUE(window->statusLine()->isVisible());
}

TEST_F(ToolPagesTest, FilenameChangerRenamesTheChosenFolderAtOnce) {
    const QString folder = temp.filePath("album");
    const QString song = temp.copyFixture("tagged.mp3", "album/track.mp3");
    auto* renamer = page<FilenameChangerPage>(4);
    EXPECT_FALSE(renamer->trackSource()->isVisible());  // a folder only, never a playlist
    delegate.setProperty("folderPath", QUrl::fromLocalFile(folder));
    EXPECT_EQ(renamer->folderLabel()->text(), folder);
    renamer->patternField()->clear();
    QTest::keyClicks(renamer->patternField(), "#y #t");
    renamer->paddingPopUp()->setCurrentIndex(2);  // always
    EXPECT_FALSE(renamer->extensionVisibleBox()->isEnabled());
    renamer->changeExtensionBox()->click();
    EXPECT_TRUE(renamer->extensionVisibleBox()->isEnabled());
    EXPECT_TRUE(runToEnd([&] { renamer->startButton()->click(); }));
    EXPECT_FALSE(QFileInfo::exists(song));
    EXPECT_TRUE(QFileInfo::exists(folder + "/1999 Song.mp3"));
    EXPECT_EQ(delegate.property("selectedTrailingZeroes").toInt(), 2);
    EXPECT_TRUE(answerer.alerts.isEmpty()) << answerer.alerts.join('\n').toStdString();
}

TEST_F(ToolPagesTest, SizeEstimateAndExportStartFromTheirSections) {
    const tessel::test::MemoryTrack track = addToMusic("Long");
    track->properties.insert("duration", 240.0);
    track->properties.insert("bitRate", qint64(128));
    auto* misc = page<MiscellaneousPage>(5);
    misc->bitratePopUp()->setCurrentIndex(2);  // 256 kbps
    EXPECT_TRUE(runToEnd([&] { misc->calculateButton()->click(); }));
    ASSERT_EQ(answerer.alerts.size(), 1);
    EXPECT_TRUE(answerer.alerts.first().startsWith(
        "Playlist/Folder size: These files are currently occupying approximately 3.75 MB"));
    EXPECT_TRUE(
        answerer.alerts.first().contains("approximately 7.50 MB when converting them all "
                                         "to 256 kbps"));

    // The save dialog proposes the playlist's name with the format's extension.
    QString saved = temp.filePath("Music.xml");
    QString proposed;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (dialog && dialog->isVisible()) {
                proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
                dialog->selectFile(saved);
                static_cast<QDialog*>(dialog)->accept();  // as the Save button does
            }
        }
    });
    timer.start();
    EXPECT_TRUE(runToEnd([&] { misc->exportXmlButton()->click(); }));
    EXPECT_EQ(proposed, "Music.xml");
    EXPECT_TRUE(QString::fromUtf8(tessel::test::fileBytes(saved))
                    .contains("<track artist='Artist' title='Long'"));

    // M3U8 with paths relative to the music folder typed into its field.
    misc->exportPathsPopUp()->setCurrentIndex(1);
    misc->exportFolderField()->setText("/music");
    emit misc->exportFolderField()->editingFinished();
    saved = temp.filePath("Music.m3u8");
    EXPECT_TRUE(runToEnd([&] { misc->exportM3u8Button()->click(); }));
    EXPECT_EQ(proposed, "Music.m3u8");
    EXPECT_EQ(QString::fromUtf8(tessel::test::fileBytes(saved)),
              "#EXTM3U\n#EXTINF:240,Artist - Long\nLong.mp3\n");

    // Every playlist: the folder comes from the chooser, the summary from an alert.
    ASSERT_TRUE(QDir().mkpath(temp.filePath("lists")));
    window->setFolderChooser(
        [this](QWidget*, const QUrl&) { return QUrl::fromLocalFile(temp.filePath("lists")); });
    misc->allPlaylistsBox()->setChecked(true);
    answerer.alerts.clear();
    EXPECT_TRUE(runToEnd([&] { misc->exportXspfButton()->click(); }));
    ASSERT_EQ(answerer.alerts.size(), 1);
    const int files = int(QDir(temp.filePath("lists")).entryList(QDir::Files).size());
    EXPECT_TRUE(answerer.alerts.first().startsWith(
        QString("Playlists Exported: %1 playlists with").arg(files)))
        << answerer.alerts.first().toStdString();
}

}  // namespace
}  // namespace tessel::gui::test
