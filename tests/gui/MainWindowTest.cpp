#include "GuiTestSupport.h"
#include "gui/HelpSheet.h"
#include "gui/LaunchHint.h"
#include "gui/SearchReplacePage.h"
#include "support/Settings.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tessel::gui::test {
namespace {

using MainWindowTest = GuiTest;

TEST_F(MainWindowTest, ToolbarOffersTheBuiltPagesInPageOrder) {
    QStringList titles;
    for (QAction* item : window->toolbar()->actions()) {
        if (!item->isSeparator())
            titles.append(item->iconText().replace("&&", "&"));  // && shows as &
    }
    // The pages in page order, then the item that opens the library window.
    EXPECT_EQ(titles,
              (QStringList{"Search & Replace", "Capitalization", "Playlist Manager", "Data Mover",
                           "Filename Changer", "Miscellaneous Tools", "About", "Library"}));
    EXPECT_EQ(window->libraryItem()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_FALSE(window->libraryItem()->isCheckable());
    EXPECT_EQ(window->currentPage(), 0);
    EXPECT_TRUE(window->toolbarItem(0)->isChecked());

    for (int tag : {6, 7}) {
        window->showTab(0);
        window->showTab(tag);
        EXPECT_EQ(window->currentPage(), tag);
        EXPECT_TRUE(window->toolbarItem(kAboutPage)->isChecked());
        EXPECT_FALSE(window->toolbarItem(0)->isChecked());
    }
    window->toolbarItem(0)->trigger();
    EXPECT_EQ(window->currentPage(), 0);
    window->toolbarClicked(kPageCount);  // no such page: nothing happens
    EXPECT_EQ(window->currentPage(), 0);
}

TEST_F(MainWindowTest, WindowFitsEachPageWithItsTopEdgeInPlace) {
    window->move(100, 120);
    window->pageView(kAboutPage)->setFixedHeight(300);
    const QRect before = window->geometry();

    window->toolbarClicked(kAboutPage);
    const QRect about = window->geometry();
    EXPECT_EQ(about.height(), 378);
    EXPECT_EQ(about.top(), before.top());
    EXPECT_EQ(about.left(), before.left());
    EXPECT_EQ(about.width(), before.width());
    EXPECT_GE(window->pageView(kAboutPage)->height(), 300) << "the page fits in the window";

    window->toolbarClicked(0);
    const QRect search = window->geometry();
    window->toolbarClicked(kAboutPage);
    EXPECT_EQ(window->geometry(), about);
    window->toolbarClicked(0);
    EXPECT_EQ(window->geometry(), search);
}

TEST_F(MainWindowTest, HelpSheetOpensAtTheTopOfTheToolsHelp) {
    HelpSheet* help = window->helpSheet();
    QTest::mouseClick(searchPage()->helpButton(), Qt::LeftButton);
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowModality(), Qt::WindowModal);
    EXPECT_EQ(help->titleLine()->text(), "Search & Replace Tool Help");
    EXPECT_EQ(help->infoLine()->text(),
              "Info: this is the specific help for the 'Search & Replace' tool, for general "
              "instructions click the 'Documentation' tab");
    EXPECT_TRUE(help->document()->toPlainText().startsWith("Search & Replace"));

    help->resize(320, 200);
    QScrollBar* scroll = help->document()->verticalScrollBar();
    ASSERT_TRUE(waitFor([&] { return scroll->maximum() > 0; }));
    scroll->setValue(scroll->maximum());
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());

    window->openHelp();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(scroll->value(), 0);
    window->closeHelp();
    EXPECT_FALSE(help->isVisible());

    help->present(9);  // no such document: nothing of the last one is left over
    EXPECT_TRUE(help->document()->toPlainText().isEmpty());
    window->closeHelp();
}

TEST_F(MainWindowTest, HelpDoesNothingOnTheAboutPage) {
    window->showTab(kAboutPage);
    window->openHelp();
    EXPECT_FALSE(window->helpSheet()->isVisible());
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_FALSE(window->helpSheet()->isVisible());
    window->showTab(0);
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_TRUE(window->helpSheet()->isVisible());
    window->closeHelp();
}

TEST_F(MainWindowTest, AboutPageShowsVersionBuildAndTheFourDocuments) {
    QWidget* about = window->pageView(kAboutPage);
    QStringList texts;
    for (QLabel* label : about->findChildren<QLabel*>())
        texts.append(label->text());
    EXPECT_TRUE(texts.contains(delegate.version()));
    EXPECT_TRUE(texts.contains(delegate.build()));
    EXPECT_TRUE(delegate.version().startsWith("Version: "));

    const QList<QTextBrowser*> documents = about->findChildren<QTextBrowser*>();
    ASSERT_EQ(documents.size(), 4);
    for (QTextBrowser* document : documents)
        EXPECT_FALSE(document->toPlainText().trimmed().isEmpty());
}

// Each new window is one launch: the hint fades out on the first two and is gone at once from
// the third on.
TEST_F(MainWindowTest, LaunchHintFadesOnTheFirstTwoLaunchesOnly) {
    const HintTiming quick{50, 50};
    for (int launch = 1; launch <= 3; ++launch) {
        MainWindow launched(delegate);
        launched.show();
        QSignalSpy gone(launched.launchHint(), &LaunchHint::gone);
        launched.startLaunchHint(quick);
        EXPECT_EQ(defaultInt("Launches"), launch);
        if (launch <= 2) {
            EXPECT_TRUE(launched.launchHint()->isVisible()) << launch;
            EXPECT_TRUE(gone.wait(2000)) << launch;
        } else {
            EXPECT_EQ(gone.size(), 1);
        }
        EXPECT_FALSE(launched.launchHint()->isVisible()) << launch;
    }
}

TEST_F(MainWindowTest, ClosingTheMainWindowQuits) {
    QWidget other;  // another window is open: only the main window's close may end the run
    other.show();
    QTimer safety;  // ends the loop if the close does not
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    safety.start(5000);
    QTimer::singleShot(0, window.get(), [this] { window->close(); });
    EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace tessel::gui::test
