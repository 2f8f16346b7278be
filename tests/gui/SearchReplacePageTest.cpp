#include "GuiTestSupport.h"
#include "gui/ChangePanelDialog.h"
#include "gui/ChangeTableModel.h"
#include "gui/PopUpButton.h"
#include "gui/ProgressSheet.h"
#include "gui/SearchReplacePage.h"
#include "gui/TrackSourceBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace tessel::gui::test {
namespace {

class SearchReplacePageTest : public GuiTest {
  protected:
    QAbstractItemModel* rows() const { return window->changePanel()->table()->model(); }
    QString cell(int row, int column) const { return rows()->index(row, column).data().toString(); }
    // Many copies of one tagged file (title Song) in the folder the page works on.
    QStringList manySongs(int count) {
        QStringList copies;
        for (int i = 1; i < count; ++i)
            copies.append(temp.copyFixture("tagged.mp3", QStringLiteral("music/%1.mp3").arg(i)));
        return useFolderOf({"tagged.mp3"}) + copies;
    }
    // The row whose tooltip (the track's location) names the file.
    int rowOf(const QString& path) const {
        for (int row = 0; row < rows()->rowCount(); ++row) {
            if (rows()->index(row, 1).data(Qt::ToolTipRole).toString() == path)
                return row;
        }
        return -1;
    }
};

TEST_F(SearchReplacePageTest, FolderRunChangesExactlyTheRowsLeftChecked) {
    const QStringList paths =
        useFolderOf({"tagged.mp3", "tagged.flac", "tagged.ogg", "tagged.m4a"});
    ASSERT_EQ(delegate.property("selectedMethod").toInt(), TrackSourceBox::Folder);
    EXPECT_TRUE(searchPage()->trackSource()->folderLabel()->text().endsWith("music"));

    QTest::keyClicks(searchPage()->searchField(), "song");
    QTest::keyClicks(searchPage()->replaceField(), "Tune");
    QTest::keyClick(searchPage()->replaceField(), Qt::Key_Return);  // commits and starts
    ASSERT_TRUE(waitFor([this] { return window->changePanel()->isVisible(); }));

    EXPECT_EQ(window->changePanel()->infoLine()->text(),
              "Checked tracks of these 4 tracks will get their tag 'name' changed:");
    ASSERT_EQ(rows()->rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(cell(row, ChangeTableModel::Title), "Song");
        EXPECT_EQ(cell(row, ChangeTableModel::Artist), "Artist");
        EXPECT_EQ(cell(row, ChangeTableModel::OldValue), "Song");
        EXPECT_EQ(cell(row, ChangeTableModel::NewValue), "Tune");
        EXPECT_EQ(rows()->index(row, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    }
    const int flacRow = rowOf(paths.at(1));
    ASSERT_GE(flacRow, 0) << "every row's tooltip is its file";

    QTableView* table = window->changePanel()->table();
    table->selectRow(flacRow);
    QTest::mouseClick(window->changePanel()->uncheckButton(), Qt::LeftButton);
    EXPECT_EQ(rows()->index(flacRow, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(runToEnd([&] { window->changePanel()->applyButton()->click(); }));

    EXPECT_FALSE(window->changePanel()->isVisible());
    EXPECT_FALSE(window->progressSheet()->isVisible());
    EXPECT_FALSE(delegate.hasChanges());
    EXPECT_EQ(fileTitle(paths.at(0)), "Tune");
    EXPECT_EQ(fileTitle(paths.at(1)), "Song");
    EXPECT_EQ(fileTitle(paths.at(2)), "Tune");
    EXPECT_EQ(fileTitle(paths.at(3)), "Tune");
    EXPECT_TRUE(answerer.alerts.isEmpty()) << answerer.alerts.join('\n').toStdString();
}

TEST_F(SearchReplacePageTest, CancelDuringACollectionLeavesNoPanelAndNoWrittenFile) {
    const QStringList paths = manySongs(400);
    QTest::keyClicks(searchPage()->searchField(), "song");
    QTest::keyClicks(searchPage()->replaceField(), "Tune");
    ProgressSheet* sheet = window->progressSheet();
    EXPECT_FALSE(runToEnd([&] {
        searchPage()->startButton()->click();
        ASSERT_TRUE(sheet->isVisible());
        ASSERT_TRUE(sheet->cancelButton()->isVisible());
        QTest::mouseClick(sheet->cancelButton(), Qt::LeftButton);
    }));
    QTest::qWait(50);  // anything the run still sent has landed
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(window->changePanel()->isVisible());
    EXPECT_FALSE(delegate.hasChanges());
    for (const QString& path : paths)
        ASSERT_EQ(fileTitle(path), "Song") << path.toStdString();
    EXPECT_TRUE(answerer.alerts.isEmpty()) << answerer.alerts.join('\n').toStdString();
}

TEST_F(SearchReplacePageTest, CancelDuringAnApplyLeavesExactlyTheReportedFilesChanged) {
    const int count = 300;
    const QStringList paths = manySongs(count);
    QTest::keyClicks(searchPage()->searchField(), "song");
    QTest::keyClicks(searchPage()->replaceField(), "Tune");
    ASSERT_TRUE(startAndWaitForPanel());

    ProgressSheet* sheet = window->progressSheet();
    int barMaximum = -1;
    const auto stopAtFirstLine =
        QObject::connect(&delegate, &AppDelegate::currentProgressDetailChanged, [&] {
            if (barMaximum >= 0 || delegate.currentProgressDetail().isEmpty())
                return;
            barMaximum = sheet->bar()->maximum();
            QTest::keyClick(sheet, Qt::Key_Escape);
        });
    QSignalSpy applied(&delegate, &AppDelegate::changesApplied);
    EXPECT_FALSE(runToEnd([&] { window->changePanel()->applyButton()->click(); }));
    QObject::disconnect(stopAtFirstLine);
    EXPECT_EQ(barMaximum, count) << "the bar counts the records";

    ASSERT_EQ(applied.size(), 1);
    const int written = applied.first().at(0).toInt();
    EXPECT_FALSE(applied.first().at(3).toBool()) << "not complete";
    EXPECT_GE(written, 1) << "the record under way when Escape came is finished";
    EXPECT_LT(written, count);
    int changed = 0;
    for (const QString& path : paths)
        changed += fileTitle(path) == "Tune";
    EXPECT_EQ(changed, written);
    EXPECT_EQ(window->statusText(),
              QStringLiteral("Wrote %1 before the run stopped.")
                  .arg(written == 1 ? QStringLiteral("1 change")
                                    : QStringLiteral("%1 changes").arg(written)));
    EXPECT_FALSE(delegate.hasChanges());
    EXPECT_TRUE(answerer.alerts.isEmpty()) << answerer.alerts.join('\n').toStdString();
}

TEST_F(SearchReplacePageTest, TextTypedButNotCommittedIsUsedWhenTheToolStarts) {
    useFolderOf({"tagged.mp3"});
    QTest::keyClicks(searchPage()->searchField(), "Song");
    QTest::keyClicks(searchPage()->replaceField(), "Typed");
    ASSERT_TRUE(delegate.property("replaceString").toString().isEmpty());

    ASSERT_TRUE(startAndWaitForPanel());
    EXPECT_EQ(cell(0, ChangeTableModel::NewValue), "Typed");
}

TEST_F(SearchReplacePageTest, AnUnusableOptionIsAnAlertOverTheWindowAndNoRun) {
    useFolderOf({"tagged.mp3"});
    EXPECT_FALSE(runToEnd([this] { searchPage()->startButton()->click(); }));
    EXPECT_EQ(answerer.alerts,
              QStringList{"Empty Search String: You can't perform a Search/Replace operation "
                          "without entering a search string."});
    EXPECT_FALSE(window->changePanel()->isVisible());
}

// While the worker waits on an alert the run is still going: the progress sheet is up over the
// window with the run's title, and Escape does not take it away.
TEST_F(SearchReplacePageTest, ProgressSheetStaysUpUntilTheRunEnds) {
    useFolderOf({});  // a folder without music files: the worker's gathering stops with an alert
    QTest::keyClicks(searchPage()->searchField(), "x");
    bool checked = false;
    answerer.onAlert = [&](QMessageBox*) {
        if (checked)
            return;
        checked = true;
        ProgressSheet* sheet = window->progressSheet();
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
        EXPECT_EQ(sheet->titleLine()->text(), "Collecting changes…");
        QTest::keyClick(sheet, Qt::Key_Escape);
        sheet->close();
        EXPECT_TRUE(sheet->isVisible());
    };
    runToEnd([this] { searchPage()->startButton()->click(); });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(window->progressSheet()->isVisible());
    ASSERT_EQ(answerer.alerts.size(), 1);
    EXPECT_TRUE(answerer.alerts.at(0).startsWith("No Files: "));
}

TEST_F(SearchReplacePageTest, ProgressSheetShowsTheWorkersDetailLines) {
    for (int i = 1; i <= 50; ++i)
        library.append(music, library.addTrack(QStringLiteral("Song %1").arg(i), "Artist",
                                               QStringLiteral("/music/%1.mp3").arg(i)));
    QTest::keyClicks(searchPage()->searchField(), "Song");
    QStringList shown;
    QObject::connect(&delegate, &AppDelegate::currentProgressDetailChanged, window.get(), [&] {
        if (window->progressSheet()->isVisible())
            shown.append(window->progressSheet()->detailText());
    });
    ASSERT_TRUE(startAndWaitForPanel());
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.first(), "1/50 - Song 1");
    EXPECT_EQ(shown.last(), "50/50 - Song 50");
}

TEST_F(SearchReplacePageTest, PresetsFillTheFieldsAndAlwaysTurnOnRegularExpressions) {
    struct Row {
        int index;
        QString search, replace;
    };
    const QList<Row> table{
        {0, "keep", "these"},
        {1, "...(.*)", "$1"},
        {2, "(.*)\\[(.*)\\](.*)", "$1($2)$3"},
        {3, "The (.*)", "$1, The"},
        {4, "(.*), The", "The $1"},
        {5, "^(.*)", "0$1"},
    };
    for (const Row& row : table) {
        delegate.setProperty("searchString", "keep");
        delegate.setProperty("replaceString", "these");
        delegate.setProperty("useRegular", false);
        searchPage()->presetMenu()->actions().at(row.index)->trigger();
        EXPECT_EQ(searchPage()->searchField()->text(), row.search) << row.index;
        EXPECT_EQ(searchPage()->replaceField()->text(), row.replace) << row.index;
        EXPECT_TRUE(searchPage()->regularBox()->isChecked()) << row.index;
    }
}

TEST_F(SearchReplacePageTest, ReplaceFieldIsLiveOnlyWithASearchText) {
    QLineEdit* search = searchPage()->searchField();
    EXPECT_FALSE(searchPage()->replaceField()->isEnabled());
    QTest::keyClicks(search, "a");
    EXPECT_TRUE(searchPage()->replaceField()->isEnabled());
    QTest::keyClick(search, Qt::Key_Backspace);
    EXPECT_FALSE(searchPage()->replaceField()->isEnabled());
}

TEST_F(SearchReplacePageTest, OnlyThePlaylistPopUpReReadsThePlaylists) {
    PopUpButton* playlists = searchPage()->trackSource()->playlistPopUp();
    ASSERT_EQ(playlists->count(), 1);
    library.addPlaylist("Added Later");

    searchPage()->tagPopUp()->showPopup();
    searchPage()->tagPopUp()->hidePopup();
    searchPage()->presetMenu()->popup(window->geometry().center());
    searchPage()->presetMenu()->hide();
    EXPECT_EQ(delegate.playlists(), QStringList{"Music"});
    EXPECT_EQ(playlists->count(), 1);

    playlists->showPopup();
    EXPECT_EQ(playlists->count(), 2);
    EXPECT_EQ(playlists->itemText(1), "Added Later");
    EXPECT_EQ(playlists->currentText(), "Music");
    playlists->hidePopup();
}

TEST_F(SearchReplacePageTest, SourceChoiceAndPlaylistFollowTheOptions) {
    TrackSourceBox* source = searchPage()->trackSource();
    EXPECT_TRUE(source->playlistPopUp()->isEnabled());
    EXPECT_FALSE(source->folderLabel()->isEnabled());
    useFolderOf({"tagged.mp3"});
    EXPECT_FALSE(source->playlistPopUp()->isEnabled());
    EXPECT_TRUE(source->folderLabel()->isEnabled());

    const QList<QRadioButton*> choices = source->findChildren<QRadioButton*>();
    ASSERT_EQ(choices.size(), 3);
    const auto onIndicator = [](QWidget* button) { return QPoint(6, button->height() / 2); };
    QTest::mouseClick(choices.at(1), Qt::LeftButton, {}, onIndicator(choices.at(1)));
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), TrackSourceBox::Selection);
    QTest::mouseClick(choices.at(0), Qt::LeftButton, {}, onIndicator(choices.at(0)));
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), TrackSourceBox::Playlist);
}

TEST_F(SearchReplacePageTest, TabReachesTheOptionsInReadingOrderThenHelpAndStart) {
    SearchReplacePage* page = searchPage();
    QList<QWidget*> order;
    for (QWidget* widget = page->tagPopUp(); order.size() < 8;
         widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() & Qt::TabFocus && page->isAncestorOf(widget))
            order.append(widget);
    }
    const QList<QWidget*> expected{page->tagPopUp(),      page->searchField(), page->replaceField(),
                                   page->ignoreCaseBox(), page->regularBox(),  page->presetButton(),
                                   page->helpButton(),    page->startButton()};
    EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace tessel::gui::test
