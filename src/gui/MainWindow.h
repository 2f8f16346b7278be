// The main window: a toolbar of the pages, the page shown below it, and the sheets that runs
// open over it (progress, change panel, help). Switching pages fits the window's height to the
// page with the top edge in place. Closing the window quits the application.
#pragma once

#include "Binder.h"
#include "LaunchHint.h"
#include "PageContext.h"
#include "WindowMemory.h"

#include <QMainWindow>

#include <array>

class QActionGroup;
class QLabel;
class QStackedWidget;
class QToolBar;

namespace tessel {
class AppDelegate;
}

namespace tessel::gui {

class ChangePanelDialog;
class HelpSheet;
class LibraryWindow;
class ProgressSheet;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    /// The window's height above the page (the toolbar's room): a page h high gets a window
    /// h + 78 high.
    static constexpr int kChromeHeight = 78;

    explicit MainWindow(AppDelegate& delegate, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Shows page index (0-7). Pages that are not built are not offered, and ignored here.
    void toolbarClicked(int index);
    /// Shows the page of a toolbar item.
    void toolbarClicked(QAction* item);
    /// Shows page tag and marks its toolbar item as the selected one.
    void showTab(int tag);
    int currentPage() const { return current_; }
    /// The view of page index; null when that page is not built.
    QWidget* pageView(int index) const;
    /// The toolbar item of page index; null when that page is not built.
    QAction* toolbarItem(int index) const;
    QToolBar* toolbar() const { return toolbar_; }

    /// Opens the help of the tool page shown; does nothing on the About page.
    void openHelp();
    void closeHelp();
    /// Commits what is typed into the pages' fields.
    void endEditing() { binder_.endEditing(); }
    /// Back to the geometry and the page of the last session (the options keep their launch
    /// values).
    void restoreRemembered();
    /// Makes folder the track source, as choosing it or dropping it on the window does.
    void useFolder(const QUrl& folder);
    /// Counts the launch and shows the first-launch hint.
    void startLaunchHint(HintTiming timing = {});
    /// How the pages ask for a folder (a folder dialog unless replaced).
    void setFolderChooser(FolderChooser chooser) { context_.chooseFolder = std::move(chooser); }
    /// Asks for a folder with the window's chooser; an empty URL when nothing was chosen.
    QUrl chooseFolder(const QUrl& current) { return context_.chooseFolder(this, current); }

    /// Opens the library window (made on first use) and brings it to the front.
    void openLibrary();
    /// The library window; null until it was first opened.
    LibraryWindow* libraryWindow() const { return library_; }
    /// The toolbar item that opens the library window.
    QAction* libraryItem() const { return libraryAction_; }
    /// The toolbar item "Undo Last Run…", after the library's.
    QAction* undoItem() const { return undoAction_; }
    /// The window the sheets and alerts of a run belong over: the library window while it is
    /// the active one, else this window.
    QWidget* sheetHost() const;

    ChangePanelDialog* changePanel() const { return changePanel_; }
    ProgressSheet* progressSheet() const { return progressSheet_; }
    HelpSheet* helpSheet() const { return helpSheet_; }
    LaunchHint* launchHint() const { return hint_; }
    /// The line that says what the last run wrote; hidden when there is nothing to say.
    QLabel* statusLine() const { return status_; }
    /// The whole text of the status line (the line itself may be cut short).
    QString statusText() const { return statusText_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    /// A folder dragged onto the window is taken as the track source.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void setUpToolbar();
    void addPages();
    /// Adds page index with its toolbar item, whose icon is Tessel's icon of that name.
    void addPage(int index, QWidget* view, const QString& title, const QString& icon);
    void addWindowActions();
    void addUndoItem();
    void setUpStatusLine();
    void rememberFolders();
    void showStatus(const QString& text);
    QRect bottomRowRoom(bool needsStart) const;
    void placeStatusLine();
    void placeInitially();
    void makeCurrent(QWidget* view);
    void fitToPage(QWidget* view);
    void placeHint();
    bool libraryIsEmpty() const;

    AppDelegate& delegate_;
    WindowMemory memory_;
    Binder binder_;
    PageContext context_;
    QToolBar* toolbar_;
    QActionGroup* items_;
    QStackedWidget* stack_;
    std::array<QWidget*, kPageCount> pages_{};
    std::array<QAction*, kPageCount> actions_{};
    int current_ = 0;
    QAction* helpAction_ = nullptr;
    ChangePanelDialog* changePanel_;
    ProgressSheet* progressSheet_;
    HelpSheet* helpSheet_;
    LaunchHint* hint_;
    QLabel* status_;
    QString statusText_;
    QAction* libraryAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    LibraryWindow* library_ = nullptr;
};

}  // namespace tessel::gui
