#include "GuiTestSupport.h"
#include "gui/ChangePanelDialog.h"
#include "gui/ChangeTableModel.h"
#include "gui/ChangeValueDelegate.h"
#include "gui/SearchReplacePage.h"
#include "gui/WrittenMessages.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>

namespace tessel::gui::test {
namespace {

class ChangePanelDialogTest : public GuiTest {
  protected:
    // Opens the panel over Search & Replace's list for tracks of a library playlist.
    bool openPanelFor(int tracks) {
        QStringList titles;
        for (int i = 1; i <= tracks; ++i)
            titles.append(QStringLiteral("Song %1").arg(i));
        return openPanelFor(titles);
    }
    bool openPanelFor(const QStringList& titles) {
        for (const QString& title : titles)
            library.append(music, library.addTrack(title, "Artist", "/music/" + title + ".mp3"));
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

TEST_F(ChangePanelDialogTest, ReplacementInTheMiddleOfALongValueIsShownAndMarked) {
    const QString before(98, u'a'), after(98, u'b');
    ASSERT_TRUE(openPanelFor({before + "Song" + after}));
    QTableView* table = panel()->table();
    const QModelIndex oldValue = table->model()->index(0, ChangeTableModel::OldValue);
    const QModelIndex newValue = table->model()->index(0, ChangeTableModel::NewValue);
    ASSERT_EQ(newValue.data().toString().size(), 200);
    using Spans = QList<TextSpan>;
    EXPECT_EQ(oldValue.data(ChangeTableModel::ChangedSpansRole).value<Spans>(), (Spans{{98, 4}}));
    EXPECT_EQ(newValue.data(ChangeTableModel::ChangedSpansRole).value<Spans>(), (Spans{{98, 4}}));
    // The whole value, with break chances so that the tooltip wraps even without spaces.
    QString toolTip = newValue.data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(Qt::mightBeRichText(toolTip));
    EXPECT_GE(toolTip.count(QChar(0x200B)), 4);
    EXPECT_TRUE(toolTip.remove(QChar(0x200B)).contains(before + "Tune" + after));
    EXPECT_EQ(table->model()->index(0, ChangeTableModel::File).data(),
              QString(before + "Song" + after + ".mp3"));

    // The cell is far narrower than the value: it shows the stretch around the change, marked.
    const int width = table->columnWidth(ChangeTableModel::NewValue);
    const QFontMetrics metrics = table->fontMetrics();
    ASSERT_GT(metrics.horizontalAdvance(newValue.data().toString()), width);
    const ShownValue shown = shownValue(
        newValue.data().toString(),
        newValue.data(ChangeTableModel::ChangedSpansRole).value<Spans>(), metrics, width);
    EXPECT_LE(metrics.horizontalAdvance(shown.text), width);
    EXPECT_TRUE(shown.text.startsWith("…a"));
    EXPECT_TRUE(shown.text.endsWith("b…"));
    ASSERT_EQ(shown.marked.size(), 1);
    EXPECT_EQ(shown.text.mid(shown.marked.first().start, shown.marked.first().length), "Tune");

    // The drawn cell carries the mark's tint where "Tune" is.
    table->resize(900, 200);
    table->show();
    QTest::qWait(20);
    const QImage cell = table->viewport()->grab(table->visualRect(newValue)).toImage();
    const QColor mark = ChangeValueDelegate::markColor(false);
    bool tinted = false;
    for (int x = 0; x < cell.width() && !tinted; ++x) {
        const QColor pixel = cell.pixelColor(x, cell.height() / 2);
        tinted = pixel.green() > pixel.red() + 30 && pixel.green() > pixel.blue() + 30;
    }
    EXPECT_TRUE(tinted) << "no " << mark.name().toStdString() << " tint in the cell";
    panel()->reject();
}

TEST_F(ChangePanelDialogTest, ADeletionIsMarkedWhereItHappened) {
    const QString before(120, u'a'), after(80, u'b');
    library.append(music, library.addTrack(before + " (Live)" + after, "Artist", "/music/x.mp3"));
    QTest::keyClicks(searchPage()->searchField(), " (Live)");
    ASSERT_TRUE(startAndWaitForPanel());
    using Spans = QList<TextSpan>;
    const QModelIndex oldValue = panel()->table()->model()->index(0, ChangeTableModel::OldValue);
    const QModelIndex newValue = panel()->table()->model()->index(0, ChangeTableModel::NewValue);
    EXPECT_EQ(oldValue.data(ChangeTableModel::ChangedSpansRole).value<Spans>(), (Spans{{120, 7}}));
    EXPECT_EQ(newValue.data(ChangeTableModel::ChangedSpansRole).value<Spans>(), (Spans{{120, 0}}));
    const ShownValue shown =
        shownValue(newValue.data().toString(),
                   newValue.data(ChangeTableModel::ChangedSpansRole).value<Spans>(),
                   panel()->table()->fontMetrics(), 200);
    EXPECT_TRUE(shown.text.startsWith("…a")) << "the cell shows where the text went";
    ASSERT_EQ(shown.marked.size(), 1);
    EXPECT_EQ(shown.text.mid(shown.marked.first().start - 1, 2), "ab");
    panel()->reject();
}

TEST_F(ChangePanelDialogTest, SortingAndFilteringNeverChangeTheListOrWhatIsApplied) {
    ASSERT_TRUE(openPanelFor(12));
    QTableView* table = panel()->table();
    EXPECT_TRUE(table->isColumnHidden(ChangeTableModel::Tag)) << "one tag: no Tag column";
    EXPECT_TRUE(table->horizontalHeader()->sectionsMovable());

    table->sortByColumn(ChangeTableModel::Title, Qt::DescendingOrder);
    EXPECT_EQ(table->model()->index(0, ChangeTableModel::Title).data(), "Song 9");
    selectRows({0});
    QTest::mouseClick(panel()->uncheckButton(), Qt::LeftButton);
    QList<bool> expected(12, true);
    expected[8] = false;
    EXPECT_EQ(enabled(), expected);
    EXPECT_EQ(delegate.changes()->records.at(0).title, "Song 1") << "the list keeps its order";

    QTest::keyClicks(panel()->filterField(), "song 1");  // Song 1, 10, 11, 12
    EXPECT_EQ(table->model()->rowCount(), 4);
    QTest::mouseClick(panel()->uncheckAllButton(), Qt::LeftButton);
    expected[0] = expected[9] = expected[10] = expected[11] = false;
    EXPECT_EQ(enabled(), expected);
    panel()->filterField()->clear();
    EXPECT_EQ(table->model()->rowCount(), 12);
    QTest::mouseClick(panel()->checkAllButton(), Qt::LeftButton);
    EXPECT_EQ(enabled(), QList<bool>(12, true));

    // Unchecked rows stay unwritten whatever the view showed.
    table->sortByColumn(ChangeTableModel::Checked, Qt::AscendingOrder);
    selectRows({0, 1});
    QTest::mouseClick(panel()->uncheckButton(), Qt::LeftButton);
    const QList<bool> flags = enabled();
    EXPECT_EQ(flags.count(false), 2);
    ASSERT_TRUE(runToEnd([&] { QTest::mouseClick(panel()->applyButton(), Qt::LeftButton); }));
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(
            music->entries.at(i).track->properties.value("name").toString().startsWith("Tune"),
            flags.at(i))
            << i;
}

TEST_F(ChangePanelDialogTest, AFilterKeepsTheSelectedRowsItStillShows) {
    ASSERT_TRUE(openPanelFor(12));
    QTableView* table = panel()->table();
    table->sortByColumn(ChangeTableModel::Title, Qt::DescendingOrder);
    // Song 9, 8, ..., 2, 12, 11, 10, 1: Song 8, Song 12 and Song 10 selected.
    selectRows({1, 8, 10});
    QTest::keyClicks(panel()->filterField(), "song 1");
    ASSERT_EQ(table->model()->rowCount(), 4);
    EXPECT_EQ(table->model()->index(0, ChangeTableModel::Title).data(), "Song 12");
    QTest::mouseClick(panel()->uncheckButton(), Qt::LeftButton);
    QList<bool> expected(12, true);
    expected[11] = expected[9] = false;
    EXPECT_EQ(enabled(), expected) << "Song 8 is hidden and stays checked";
    panel()->filterField()->clear();
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 2);
    panel()->reject();
}

TEST_F(ChangePanelDialogTest, ATitleIsDrawnOnOneLineInTheColoursOfItsRow) {
    ASSERT_TRUE(openPanelFor(
        {"Song with a title far too long for its column to show it whole", "Song two"}));
    QTableView* table = panel()->table();
    selectRows({0});
    const QModelIndex title = table->model()->index(0, ChangeTableModel::Title);
    const QRect cell = table->visualRect(title);
    const QImage image = table->viewport()->grab(cell).toImage();
    // Text pixels are those far from the selection's background; they take the selected text's
    // colour, and the cut title still reaches the cell's right part (its end is shown).
    const QColor background = table->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor text = table->palette().color(QPalette::Active, QPalette::HighlightedText);
    const auto distance = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue());
    };
    int textPixels = 0, rightmost = 0;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (distance(pixel, background) < 200)
                continue;
            ++textPixels;
            rightmost = std::max(rightmost, x);
            EXPECT_LT(distance(pixel, text), distance(pixel, QColor(Qt::black)))
                << x << "," << y << " " << pixel.name().toStdString();
        }
    }
    EXPECT_GT(textPixels, 50);
    EXPECT_GT(rightmost, image.width() * 2 / 3);
    panel()->reject();
}

TEST_F(ChangePanelDialogTest, AfterApplyingTheStatusLineSaysWhatWasWrittenAndWhatWasLeft) {
    ASSERT_TRUE(openPanelFor(3));
    EXPECT_TRUE(window->statusText().isEmpty());
    selectRows({1});
    QTest::mouseClick(panel()->uncheckButton(), Qt::LeftButton);
    ASSERT_TRUE(runToEnd([&] { QTest::mouseClick(panel()->applyButton(), Qt::LeftButton); }));
    EXPECT_EQ(window->statusText(), "Wrote 2 changes; 1 change left unchecked.");
    EXPECT_TRUE(window->statusLine()->isVisible());
    EXPECT_TRUE(answerer.alerts.isEmpty()) << "a word, not a box to click away";

    // A new proposal clears the line; applying it with nothing checked says so.
    ASSERT_TRUE(startAndWaitForPanel());
    EXPECT_FALSE(window->statusLine()->isVisible());
    QTest::mouseClick(panel()->uncheckAllButton(), Qt::LeftButton);
    ASSERT_TRUE(runToEnd([&] { QTest::mouseClick(panel()->applyButton(), Qt::LeftButton); }));
    EXPECT_EQ(window->statusText(), "Nothing was written: no change was checked.");
    EXPECT_EQ(music->entries.at(1).track->properties.value("name"), "Song 2");

    // The About page has no room for it; the tool page shows it again.
    window->showTab(kAboutPage);
    EXPECT_FALSE(window->statusLine()->isVisible());
    window->showTab(0);
    EXPECT_TRUE(window->statusLine()->isVisible());
}

TEST_F(ChangePanelDialogTest, TheColumnsComeBackAsTheUserLeftThem) {
    ASSERT_TRUE(openPanelFor(2));
    QHeaderView* header = panel()->table()->horizontalHeader();
    header->moveSection(header->visualIndex(ChangeTableModel::File), 1);
    header->resizeSection(ChangeTableModel::Artist, 222);
    panel()->reject();

    ChangePanelDialog next(delegate, window.get());
    QHeaderView* again = next.table()->horizontalHeader();
    EXPECT_EQ(again->visualIndex(ChangeTableModel::File), 1);
    EXPECT_EQ(again->sectionSize(ChangeTableModel::Artist), 222);
}

// The stretch a cell shows, found the plain way: by measuring every length in turn, whole
// characters at a time.
ShownValue measuredOneByOne(const QString& text, const QList<TextSpan>& marked,
                            const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return {text, marked};
    const auto pairAt = [&](int at) { return at >= 0 && text.at(at).isLowSurrogate(); };
    const int changeStart = marked.isEmpty() ? 0 : marked.first().start;
    int from = changeStart;
    while (from > 0) {
        const int before = pairAt(from - 1) ? from - 2 : from - 1;
        if (metrics.horizontalAdvance(text.mid(before, changeStart - before)) > width / 3)
            break;
        from = before;
    }
    const QString prefix = from > 0 ? "…" : "";
    const int room = width - metrics.horizontalAdvance(prefix) - metrics.horizontalAdvance("…");
    int length = 0;
    while (from + length < text.size()) {
        const int next = text.at(from + length).isHighSurrogate() ? length + 2 : length + 1;
        if (metrics.horizontalAdvance(text.mid(from, next)) > room)
            break;
        length = next;
    }
    const QString suffix = from + length < text.size() ? "…" : "";
    return {prefix + text.mid(from, length) + suffix, {}};
}

TEST(ShownValueTest, ShowsTheSameStretchAsMeasuringEveryLength) {
    const QFontMetrics metrics(QApplication::font());
    const QString lyrics = QString("Verse and chorus, line after line ").repeated(30);
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xB5 notes ").repeated(20);
    const QList<QPair<QString, int>> values{{lyrics + "Song" + lyrics, int(lyrics.size())},
                                            {"Song" + lyrics, 0},
                                            {lyrics + "Song", int(lyrics.size())},
                                            {emoji + "Song" + emoji, int(emoji.size())},
                                            {"iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiWWWWWWWWWWWW", 30},
                                            {"short", 0}};
    for (const auto& [text, at] : values) {
        for (int width = 1; width < 420; width += 23) {
            const QList<TextSpan> marked{{at, 4}};
            const ShownValue fast = shownValue(text, marked, metrics, width);
            const ShownValue plain = measuredOneByOne(text, marked, metrics, width);
            EXPECT_EQ(fast.text, plain.text) << width << " " << text.left(20).toStdString();
            if (width >= metrics.horizontalAdvance("……")) {
                EXPECT_LE(metrics.horizontalAdvance(fast.text), width);
            }
        }
    }
}

TEST(WrittenMessagesTest, CountsAndShapes) {
    EXPECT_EQ(appliedMessage(1, 0, false, true), "Wrote 1 change.");
    EXPECT_EQ(appliedMessage(4, 2, false, false),
              "Wrote 4 changes before the run stopped; 2 changes left unchecked.");
    EXPECT_EQ(appliedMessage(3, 1, true, true),
              "Changed the playlist for 3 tracks; 1 track left unchecked.");
    EXPECT_EQ(appliedMessage(0, 5, true, true), "Nothing was changed: no track was checked.");
    EXPECT_EQ(numericMessage(1, "Track Number"), "Wrote Track Number on 1 track.");
}

TEST(DisplayedValueTest, ShowsLineBreaksAndKeepsSpaces) {
    EXPECT_EQ(displayedValue(QVariant("a\r\nb\nc\rd")), "a↵b↵c↵d");
    EXPECT_EQ(displayedValue(QVariant("two  spaces ")), "two  spaces ");
    EXPECT_EQ(displayedValue(QVariant(12)), "12");
    EXPECT_EQ(displayedValue(QVariant()), "");
}

}  // namespace
}  // namespace tessel::gui::test
