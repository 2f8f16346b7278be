// "Undo Last Run…" in the main window, over a real library file and music files.
#include "GuiTestSupport.h"
#include "RunToEnd.h"
#include "gui/ChangePanelDialog.h"
#include "itunes/MusicLibrary.h"

#include <QAction>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>

namespace tessel::gui {
namespace {

using test::fileTitle;
using test::waitFor;

class UndoItemTest : public tessel::test::TesselTest {
  protected:
    UndoItemTest() : delegate(itunes::libraryProvider(temp.filePath("library.sqlite")), presenter) {
        delegate.applicationDidFinishLaunching();
        QSettings(QStringLiteral("Tessel"), QStringLiteral("Tessel")).clear();
        window = std::make_unique<MainWindow>(delegate);
        presenter.setWindow(window.get());
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            ADD_FAILURE() << "the main window was not shown";
    }
    ~UndoItemTest() override { presenter.setWindow(nullptr); }

    bool runToEnd(const std::function<void()>& action) {
        return tessel::test::runToEnd(delegate, action);
    }

    GuiPresenter presenter;
    AppDelegate delegate;
    std::unique_ptr<MainWindow> window;
    test::AlertAnswerer answerer;
};

TEST_F(UndoItemTest, TheLastRunIsTakenBackThroughTheChangePanel) {
    const QStringList paths{temp.copyFixture("tagged.mp3", "music/1.mp3"),
                            temp.copyFixture("tagged.flac", "music/2.flac")};
    delegate.setProperty("folderPath", QUrl::fromLocalFile(temp.filePath("music")));
    delegate.pathSelected();
    delegate.setProperty("searchString", QStringLiteral("Song"));
    delegate.setProperty("replaceString", QStringLiteral("Tune"));
    ASSERT_TRUE(runToEnd([&] { delegate.performSearchReplace(); }));
    ASSERT_TRUE(waitFor([&] { return window->changePanel()->isVisible(); }));
    ASSERT_TRUE(runToEnd([&] { window->changePanel()->applyButton()->click(); }));
    ASSERT_EQ(fileTitle(paths.at(1)), "Tune");

    ASSERT_TRUE(runToEnd([&] { window->undoItem()->trigger(); }));
    ASSERT_TRUE(waitFor([&] { return window->changePanel()->isVisible(); }));
    EXPECT_TRUE(window->changePanel()->infoLine()->text().startsWith("Taking back run 1"));
    EXPECT_EQ(window->changePanel()->table()->model()->rowCount(), 2);
    EXPECT_TRUE(runToEnd([&] { window->changePanel()->applyButton()->click(); }));
    for (const QString& path : paths)
        EXPECT_EQ(fileTitle(path), "Song");
    EXPECT_TRUE(answerer.alerts.isEmpty()) << answerer.alerts.join('\n').toStdString();

    // Nothing is left: an alert says so, and no panel opens.
    EXPECT_FALSE(runToEnd([&] { window->undoItem()->trigger(); }));
    EXPECT_EQ(answerer.alerts,
              QStringList{"Nothing to Undo: No applied run is left to take back."});
    EXPECT_FALSE(window->changePanel()->isVisible());
}

}  // namespace
}  // namespace tessel::gui
