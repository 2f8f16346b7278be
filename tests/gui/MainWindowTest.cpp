#include "GuiTestSupport.h"
#include "gui/HelpSheet.h"
#include "gui/Icons.h"
#include "gui/LaunchHint.h"
#include "gui/SearchReplacePage.h"
#include "gui/TrackSourceBox.h"
#include "gui/WindowMemory.h"
#include "support/Settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tessel::gui::test {
namespace {

using MainWindowTest = GuiTest;

int naturalHeightOf(const MainWindow& window, int page) {
    const QWidget* view = window.pageView(page);
    return qBound(view->minimumHeight(), view->sizeHint().height(), view->maximumHeight());
}

TEST_F(MainWindowTest, ToolbarOffersTheBuiltPagesInPageOrder) {
    QStringList titles;
    for (QAction* item : window->toolbar()->actions()) {
        if (!item->isSeparator())
            titles.append(item->iconText().replace("&&", "&"));  // && shows as &
    }
    // The pages in page order, then the items that open the library window and take back
    // the last run.
    EXPECT_EQ(titles,
              (QStringList{"Search & Replace", "Capitalization", "Playlist Manager", "Data Mover",
                           "Filename Changer", "Miscellaneous Tools", "About", "Library", "Undo"}));
    EXPECT_EQ(window->undoItem()->text(), "Undo Last Run…");
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

// The mean lightness (0-255) of the grey, visible pixels of an icon: its lines.
int lineLightness(const QIcon& icon) {
    const QImage image = icon.pixmap(32, 32).toImage();
    int sum = 0, count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 200 && pixel.hslSaturation() < 40) {
                sum += pixel.lightness();
                ++count;
            }
        }
    }
    return count ? sum / count : -1;
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 44));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(55, 55, 60));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(60, 140, 230));
    return dark;
}

TEST_F(MainWindowTest, ToolbarIconsAreTesselsOwnAndReadOnDarkPalettes) {
    const QPalette light = QApplication::palette();
    for (const char* name : {"search-replace", "capitalization", "playlist-manager", "data-mover",
                             "filename-changer", "miscellaneous"}) {
        const QIcon icon = toolIcon(name, light);
        ASSERT_FALSE(icon.isNull()) << name;
        EXPECT_LT(lineLightness(icon), 100) << name << " on a light palette";
        EXPECT_GT(lineLightness(toolIcon(name, darkPalette())), 180) << name << " on a dark one";
    }
    // The window redraws its toolbar when the palette turns dark.
    QAction* capitalization = window->toolbarItem(1);
    EXPECT_LT(lineLightness(capitalization->icon()), 100);
    window->setPalette(darkPalette());
    EXPECT_GT(lineLightness(capitalization->icon()), 180);
    window->setPalette(light);
}

TEST_F(MainWindowTest, TheFocusedButtonHasARing) {
    QPushButton* start = searchPage()->startButton();
    const QColor ring = start->palette().color(QPalette::Highlight);
    auto ringPixels = [&] {
        const QImage image = start->grab().toImage();
        int count = 0;
        for (int x = 0; x < image.width(); ++x) {
            for (int y : {1, image.height() - 2}) {
                const QColor pixel = image.pixelColor(x, y);
                count += std::abs(pixel.red() - ring.red()) +
                             std::abs(pixel.green() - ring.green()) +
                             std::abs(pixel.blue() - ring.blue()) <
                         60;
            }
        }
        return count;
    };
    searchPage()->searchField()->setFocus();
    ASSERT_TRUE(waitFor([&] { return !start->hasFocus(); }));
    const int unfocused = ringPixels();
    start->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitFor([&] { return start->hasFocus(); }));
    EXPECT_GT(ringPixels(), unfocused + start->width());
}

class RememberingWindowTest : public GuiTest {
  protected:
    // Sends the drag and the drop of urls onto the window; true when the drag was accepted.
    bool dropOnWindow(const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint centre = window->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        return drop.isAccepted();
    }
    QStringList recentMenuEntries() {
        QMenu* menu = searchPage()->trackSource()->recentButton()->menu();
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* item : menu->actions())
            entries.append(item->text());
        return entries;
    }
};

TEST_F(RememberingWindowTest, GeometryAndPageComeBackButTheOptionsStartAfresh) {
    window->showTab(3);
    window->setGeometry(140, 90, 910, window->height());
    const QRect closed = window->geometry();
    delegate.setProperty("searchString", "kept only for this session");
    window->close();

    AppDelegate next(library.provider(), presenter);
    next.applicationDidFinishLaunching();
    MainWindow again(next);
    EXPECT_EQ(again.currentPage(), 0);
    again.restoreRemembered();
    EXPECT_EQ(again.currentPage(), 3);
    EXPECT_TRUE(again.toolbarItem(3)->isChecked());
    EXPECT_EQ(again.geometry().topLeft(), closed.topLeft());
    EXPECT_EQ(again.width(), 910);
    EXPECT_EQ(again.height(), naturalHeightOf(again, 3) + MainWindow::kChromeHeight)
        << "the page-height rule still decides the height";
    EXPECT_TRUE(next.property("searchString").toString().isEmpty());
}

TEST_F(RememberingWindowTest, ChosenAndDroppedFoldersAreOfferedAgain) {
    QDir(temp.path()).mkpath("first");
    QDir(temp.path()).mkpath("second");
    const QString first = temp.filePath("first"), second = temp.filePath("second");
    EXPECT_EQ(recentMenuEntries(), QStringList{"No recent folders"});

    window->useFolder(QUrl::fromLocalFile(first));
    delegate.setProperty("selectedMethod", 0);
    EXPECT_FALSE(dropOnWindow({QUrl::fromLocalFile(temp.writeFile("song.mp3"))}))
        << "a file is not a folder source";
    EXPECT_FALSE(dropOnWindow({QUrl("https://example.com/music/")}));
    EXPECT_EQ(delegate.property("folderPath").toUrl(), QUrl::fromLocalFile(first));
    EXPECT_TRUE(dropOnWindow({QUrl::fromLocalFile(second)}));
    EXPECT_EQ(delegate.property("folderPath").toUrl(), QUrl::fromLocalFile(second));
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), 1);

    EXPECT_EQ(recentMenuEntries(), (QStringList{second, first}));
    delegate.setProperty("selectedMethod", 0);
    searchPage()->trackSource()->recentButton()->menu()->actions().at(1)->trigger();
    EXPECT_EQ(delegate.property("folderPath").toUrl(), QUrl::fromLocalFile(first));
    EXPECT_EQ(delegate.property("selectedMethod").toInt(), 1);
    EXPECT_EQ(WindowMemory().recentFolders(), (QStringList{first, second}));

    QDir(second).removeRecursively();  // a folder that is gone is not offered
    EXPECT_EQ(recentMenuEntries(), QStringList{first});
}

}  // namespace
}  // namespace tessel::gui::test
