#include "GuiTestSupport.h"
#include "gui/ChangePanelDialog.h"
#include "gui/ChangeTableModel.h"
#include "gui/SearchReplacePage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace tessel::gui::test {
namespace {

class ChangePanelDialogTest : public GuiTest {
  protected:
    // Opens the panel over Search & Replace's list for tracks of a library playlist.
    bool openPanelFor(int tracks) {
        for (int i = 1; i <= tracks; ++i) {
            const QString title = QStringLiteral("Song %1").arg(i);
            library.append(music, library.addTrack(title, "Artist", "/music/" + title + ".mp3"));
        }
        QTest::keyClicks(searchPage()->searchField(), "Song");
        QTest::keyClicks(searchPage()->replaceField(), "Tune");
        return startAndWaitForPanel();
    }
    ChangePanelDialog* panel() const { return window->changePanel(); }
    QList<bool> enabled() const {
        QList<bool> flags;
        for (const ChangeRecord& record : delegate.changes()->records)
            flags.append(record.enabled);
        return flags;
    }
    void selectRows(const QList<int>& rows) {
        panel()->table()->clearSelection();
        for (int row : rows)
            panel()->table()->selectionModel()->select(
                panel()->table()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

TEST_F(ChangePanelDialogTest, ButtonsAndSpaceCheckAndUncheckRows) {
    ASSERT_TRUE(openPanelFor(4));
    EXPECT_EQ(panel()->table()->model()->index(2, 1).data(Qt::ToolTipRole), "/music/Song 3.mp3");

    selectRows({0, 2});
    QTest::mouseClick(panel()->uncheckButton(), Qt::LeftButton);
    EXPECT_EQ(enabled(), (QList<bool>{false, true, false, true}));
    selectRows({2, 3});
    QTest::mouseClick(panel()->checkButton(), Qt::LeftButton);
    EXPECT_EQ(enabled(), (QList<bool>{false, true, true, true}));

    // Space flips the selection together, after the first selected row.
    QTableView* table = panel()->table();
    selectRows({1});
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_EQ(enabled(), (QList<bool>{false, false, true, true}));
    EXPECT_EQ(table->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    selectRows({0, 2});
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_EQ(enabled(), (QList<bool>{true, false, true, true}));
}

TEST_F(ChangePanelDialogTest, EscapeCancelsAndDiscardsTheList) {
    ASSERT_TRUE(openPanelFor(2));
    QTest::keyClick(panel(), Qt::Key_Escape);
    EXPECT_FALSE(panel()->isVisible());
    EXPECT_FALSE(delegate.hasChanges());
    EXPECT_EQ(panel()->table()->model()->rowCount(), 0);
    EXPECT_EQ(music->entries.at(0).track->properties.value("name"), "Song 1");
}

TEST_F(ChangePanelDialogTest, ValueColumnsAreHiddenOnlyForMembershipLists) {
    ASSERT_TRUE(openPanelFor(1));
    QTableView* table = panel()->table();
    EXPECT_FALSE(table->isColumnHidden(ChangeTableModel::OldValue));
    panel()->present("membership", {}, false);
    EXPECT_TRUE(table->isColumnHidden(ChangeTableModel::OldValue));
    EXPECT_TRUE(table->isColumnHidden(ChangeTableModel::NewValue));
    EXPECT_FALSE(table->isColumnHidden(ChangeTableModel::Title));
    panel()->present("tags", {}, true);
    EXPECT_FALSE(table->isColumnHidden(ChangeTableModel::NewValue));
    panel()->reject();
}

TEST_F(ChangePanelDialogTest, TenThousandRowsAreAllReachable) {
    ASSERT_TRUE(openPanelFor(10000));
    EXPECT_EQ(panel()->infoLine()->text(),
              "Checked tracks of these 10000 tracks will get their tag 'name' changed:");
    QTableView* table = panel()->table();
    ASSERT_EQ(table->model()->rowCount(), 10000);
    table->scrollToBottom();
    QTest::qWait(50);
    EXPECT_EQ(table->rowAt(table->viewport()->height() - 2), 9999);
    EXPECT_EQ(table->model()->index(9999, ChangeTableModel::NewValue).data(), "Tune 10000");
}

TEST(DisplayedValueTest, ShowsLineBreaksAndKeepsSpaces) {
    EXPECT_EQ(displayedValue(QVariant("a\r\nb\nc\rd")), "a↵b↵c↵d");
    EXPECT_EQ(displayedValue(QVariant("two  spaces ")), "two  spaces ");
    EXPECT_EQ(displayedValue(QVariant(12)), "12");
    EXPECT_EQ(displayedValue(QVariant()), "");
}

}  // namespace
}  // namespace tessel::gui::test
