#include "MainWindow.h"

#include "AboutPage.h"
#include "CapitalizationPage.h"
#include "ChangePanelDialog.h"
#include "DataMoverPage.h"
#include "FilenameChangerPage.h"
#include "HelpSheet.h"
#include "Icons.h"
#include "LibraryWindow.h"
#include "MiscellaneousPage.h"
#include "PlaylistManagerPage.h"
#include "ProgressSheet.h"
#include "SearchReplacePage.h"
#include "ToolPage.h"
#include "WrittenMessages.h"
#include "app/AppDelegate.h"
#include "itunes/LibraryApplication.h"
#include "itunes/TrackBrowser.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

namespace tessel::gui {

namespace {

// The dialog's sidebar offers the folders last used beside the usual places.
QUrl askForFolder(QWidget* parent, const QUrl& current) {
    QFileDialog dialog(parent, MainWindow::tr("Choose a Folder of Music Files"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!current.isEmpty())
        dialog.setDirectoryUrl(current);
    QList<QUrl> places = dialog.sidebarUrls();
    for (const QString& folder : WindowMemory().recentFolders()) {
        const QUrl url = QUrl::fromLocalFile(folder);
        if (!places.contains(url))
            places.append(url);
    }
    dialog.setSidebarUrls(places);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty())
        return {};
    return dialog.selectedUrls().constFirst();
}

// The first folder among dropped URLs; empty when none is a folder on this machine.
QString droppedFolder(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir())
            return url.toLocalFile();
    }
    return {};
}

constexpr int kHintMinimumWidth = 240;
constexpr int kHintMaximumWidth = 420;
constexpr int kStatusMinimumWidth = 120;

// The height a page asks for, within the bounds it sets itself.
int naturalHeight(const QWidget* view) {
    return qBound(view->minimumHeight(), view->sizeHint().height(), view->maximumHeight());
}

}  // namespace

MainWindow::MainWindow(AppDelegate& delegate, QWidget* parent)
    : QMainWindow(parent),
      delegate_(delegate),
      binder_(&delegate),
      context_{delegate, binder_, askForFolder, [this] { openHelp(); },
               [this] { return memory_.recentFolders(); }},
      toolbar_(new QToolBar(tr("Tools"))),
      items_(new QActionGroup(this)),
      stack_(new QStackedWidget),
      changePanel_(new ChangePanelDialog(delegate, this)),
      progressSheet_(new ProgressSheet(delegate, this)),
      helpSheet_(new HelpSheet(this)),
      hint_(new LaunchHint(this)),
      status_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Tessel"));
    setWindowIcon(applicationIcon());
    setCentralWidget(stack_);
    setUpToolbar();
    addPages();
    addWindowActions();
    setUpStatusLine();
    rememberFolders();
    setAcceptDrops(true);
    placeInitially();
    showTab(0);
}

MainWindow::~MainWindow() = default;

void MainWindow::setUpToolbar() {
    toolbar_->setObjectName(QStringLiteral("pages"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, toolbar_);
    connect(items_, &QActionGroup::triggered, this,
            qOverload<QAction*>(&MainWindow::toolbarClicked));
}

// The word after a run that wrote sits in the empty stretch of the page's bottom row, so it
// takes no height from the page; it stays until the next list of changes is proposed.
void MainWindow::setUpStatusLine() {
    status_->setObjectName(QStringLiteral("statusLine"));
    status_->setTextFormat(Qt::PlainText);
    status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    status_->hide();
    connect(&delegate_, &AppDelegate::changesApplied, this,
            [this](int written, int unchecked, bool membership, bool complete) {
                showStatus(appliedMessage(written, unchecked, membership, complete));
            });
    connect(&delegate_, &AppDelegate::tracksWritten, this, [this](int count) {
        const QString tag =
            delegate_.readableIntegerTags().value(delegate_.property("selectedNumericTag").toInt());
        showStatus(numericMessage(count, tag));
    });
    connect(&delegate_, &AppDelegate::changesChanged, this, [this] {
        if (delegate_.hasChanges())
            showStatus(QString());
    });
}

void MainWindow::showStatus(const QString& text) {
    statusText_ = text;
    if (!text.isEmpty())
        hint_->hide();  // the hint has had its say once something was written
    placeStatusLine();
}

void MainWindow::addPages() {
    addPage(0, new SearchReplacePage(context_), tr("Search && Replace"),
            QStringLiteral("search-replace"));
    addPage(1, new CapitalizationPage(context_), tr("Capitalization"),
            QStringLiteral("capitalization"));
    addPage(2, new PlaylistManagerPage(context_), tr("Playlist Manager"),
            QStringLiteral("playlist-manager"));
    addPage(3, new DataMoverPage(context_), tr("Data Mover"), QStringLiteral("data-mover"));
    addPage(4, new FilenameChangerPage(context_), tr("Filename Changer"),
            QStringLiteral("filename-changer"));
    addPage(5, new MiscellaneousPage(context_), tr("Miscellaneous Tools"),
            QStringLiteral("miscellaneous"));
    auto* about = new AboutPage(context_);
    addPage(kAboutPage, about, tr("About"), QStringLiteral("about"));
    // The page table gives the About page twice.
    pages_[kAboutPage + 1] = about;
    actions_[kAboutPage + 1] = actions_[kAboutPage];
    // After the pages, and no page itself: it opens a window of its own.
    toolbar_->addSeparator();
    libraryAction_ =
        toolbar_->addAction(toolIcon(QStringLiteral("library"), palette()), tr("Library"));
    libraryAction_->setProperty("iconName", QStringLiteral("library"));
    libraryAction_->setObjectName(QStringLiteral("openLibrary"));
    libraryAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    libraryAction_->setToolTip(
        tr("Open the music library: import, browse and select tracks (%1)")
            .arg(libraryAction_->shortcut().toString(QKeySequence::NativeText)));
    connect(libraryAction_, &QAction::triggered, this, &MainWindow::openLibrary);
    addUndoItem();
}

// Beside the library, as the last item: it takes back the last applied run through a change
// panel, or says in an alert that there is nothing to take back.
void MainWindow::addUndoItem() {
    undoAction_ =
        toolbar_->addAction(toolIcon(QStringLiteral("undo"), palette()), tr("Undo Last Run…"));
    undoAction_->setProperty("iconName", QStringLiteral("undo"));
    undoAction_->setObjectName(QStringLiteral("undoLastRun"));
    undoAction_->setIconText(tr("Undo"));
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    undoAction_->setToolTip(tr("Undo Last Run… (%1): restore what the last applied run changed")
                                .arg(undoAction_->shortcut().toString(QKeySequence::NativeText)));
    connect(undoAction_, &QAction::triggered, this, [this] { delegate_.performUndo(); });
}

void MainWindow::openLibrary() {
    if (!library_)
        library_ = new LibraryWindow(delegate_, this);
    hint_->dismiss();
    library_->show();
    library_->raise();
    library_->activateWindow();
}

QWidget* MainWindow::sheetHost() const {
    if (library_ && library_->isVisible() && library_->isActiveWindow())
        return library_;
    return const_cast<MainWindow*>(this);
}

// No track and no playlist: a first launch with nothing to work on yet.
bool MainWindow::libraryIsEmpty() const {
    if (!delegate_.playlists().isEmpty())
        return false;
    try {
        const auto library =
            std::dynamic_pointer_cast<itunes::LibraryApplication>(delegate_.library()());
        return library && library->connection()->locked([](sql::Database& db) {
            return itunes::browse::trackCount(db);
        }) == 0;
    } catch (const TesselError&) {
        return false;
    }
}

// Pages are added in page order, so the toolbar lists them in that order.
void MainWindow::addPage(int index, QWidget* view, const QString& title, const QString& icon) {
    pages_[index] = view;
    stack_->addWidget(view);
    QAction* item = toolbar_->addAction(toolIcon(icon, palette()), title);
    item->setProperty("iconName", icon);
    item->setIconText(title);
    item->setCheckable(true);
    item->setData(index);
    const QKeySequence shortcut(Qt::CTRL | Qt::Key(Qt::Key_1 + items_->actions().size()));
    item->setShortcut(shortcut);
    item->setToolTip(QStringLiteral("%1 (%2)").arg(
        QString(title).replace(QStringLiteral("&&"), QStringLiteral("&")),
        shortcut.toString(QKeySequence::NativeText)));
    items_->addAction(item);
    actions_[index] = item;
}

void MainWindow::addWindowActions() {
    helpAction_ = new QAction(tr("Tool Help"), this);
    helpAction_->setShortcut(QKeySequence::HelpContents);
    connect(helpAction_, &QAction::triggered, this, &MainWindow::openHelp);
    addAction(helpAction_);
    auto* quit = new QAction(tr("Quit"), this);
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &MainWindow::close);
    addAction(quit);
}

// Wide enough for every page, near the top of the screen.
void MainWindow::placeInitially() {
    int width = std::max(640, toolbar_->sizeHint().width() + 24);
    for (QWidget* view : pages_) {
        if (view)
            width = std::max(width, view->sizeHint().width());
    }
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    setGeometry(screen.x() + (screen.width() - width) / 2, screen.y() + 60, width, 480);
}

QWidget* MainWindow::pageView(int index) const {
    return index >= 0 && index < kPageCount ? pages_[index] : nullptr;
}

QAction* MainWindow::toolbarItem(int index) const {
    return index >= 0 && index < kPageCount ? actions_[index] : nullptr;
}

void MainWindow::toolbarClicked(int index) {
    QWidget* view = pageView(index);
    if (!view)
        return;
    current_ = index;
    helpAction_->setEnabled(index < kToolPageCount);
    makeCurrent(view);
    fitToPage(view);
    placeHint();
    placeStatusLine();
}

void MainWindow::toolbarClicked(QAction* item) {
    toolbarClicked(item->data().toInt());
}

void MainWindow::showTab(int tag) {
    toolbarClicked(tag);
    if (QAction* item = toolbarItem(tag))
        item->setChecked(true);
}

// Only the page shown counts for the window's size, so a small page gets a small window.
void MainWindow::makeCurrent(QWidget* view) {
    for (int i = 0; i < stack_->count(); ++i) {
        QWidget* page = stack_->widget(i);
        const auto policy = page == view ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        page->setSizePolicy(QSizePolicy::Preferred, policy);
    }
    stack_->setCurrentWidget(view);
    stack_->updateGeometry();
    layout()->activate();
}

// The new height is the page's plus the room above it; x, width and the top edge stay.
void MainWindow::fitToPage(QWidget* view) {
    const QRect frame = geometry();
    setGeometry(frame.x(), frame.y(), frame.width(), naturalHeight(view) + kChromeHeight);
}

void MainWindow::openHelp() {
    if (current_ >= kToolPageCount)
        return;
    helpSheet_->present(current_);
}

void MainWindow::closeHelp() {
    helpSheet_->reject();
}

void MainWindow::startLaunchHint(HintTiming timing) {
    hint_->offerLibrary(libraryIsEmpty());
    connect(hint_, &LaunchHint::libraryRequested, this, &MainWindow::openLibrary,
            Qt::UniqueConnection);
    placeHint();
    hint_->start(timing);
}

// The empty stretch of the shown page's bottom row, right of the help button and left of the
// start button (or of the page's edge); empty on a page without that row.
QRect MainWindow::bottomRowRoom(bool needsStart) const {
    const auto* page = qobject_cast<const ToolPage*>(stack_->currentWidget());
    if (!page || (needsStart && !page->startButton()))
        return {};
    const QRect help = page->helpButton()->geometry();
    const int right =
        page->startButton() ? page->startButton()->geometry().left() - 12 : page->width() - 12;
    return {page->mapTo(this, QPoint(help.right() + 12, help.top())),
            page->mapTo(this, QPoint(right, help.bottom()))};
}

// In the empty stretch of the page's bottom row, between the help and start buttons, so it
// covers no control; under the toolbar on a page without that row.
void MainWindow::placeHint() {
    const QRect room = bottomRowRoom(true);
    if (room.width() >= kHintMinimumWidth) {
        // An empty library needs filling before any tool can work: the hint says where.
        hint_->setText(hint_->offersLibrary()
                           ? tr("Your music library is empty. <a href=\"library\">Open the "
                                "Library</a> (Ctrl+L) to import a Library.xml or add a folder "
                                "of music files.")
                           : tr("Pick a tool in the toolbar, choose the tracks and the options, "
                                "then click Start →"));
        hint_->setFixedWidth(std::min(room.width(), kHintMaximumWidth));
        hint_->adjustSize();
        const int top =
            std::min(room.center().y() - hint_->height() / 2, height() - hint_->height() - 4);
        hint_->move(room.right() - hint_->width(), top);
        return;
    }
    hint_->setText(hint_->offersLibrary()
                       ? tr("↑ Your music library is empty. <a href=\"library\">Open the "
                            "Library</a> (Ctrl+L) to import a Library.xml or add a folder of "
                            "music files.")
                       : tr("↑ Pick a tool above, choose the tracks and the options, then click "
                            "Start."));
    hint_->setFixedWidth(std::min(width() - 24, kHintMaximumWidth));
    hint_->adjustSize();
    hint_->move(width() - hint_->width() - 12, toolbar_->geometry().bottom() + 8);
}

// Cut short with "…" when the row is narrow; the tooltip keeps the whole line.
void MainWindow::placeStatusLine() {
    const QRect room = bottomRowRoom(false);
    if (statusText_.isEmpty() || room.width() < kStatusMinimumWidth) {
        status_->hide();
        return;
    }
    status_->setGeometry(room);
    status_->setText(status_->fontMetrics().elidedText(statusText_, Qt::ElideMiddle, room.width()));
    status_->setToolTip(statusText_);
    status_->show();
    status_->raise();
}

// The icons' lines follow the palette: a switch to a dark palette redraws them light.
void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::PaletteChange)
        return;
    for (QAction* item : toolbar_->actions())
        item->setIcon(toolIcon(item->property("iconName").toString(), palette()));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeHint();
    placeStatusLine();
}

void MainWindow::rememberFolders() {
    connect(&delegate_, &AppDelegate::folderPathChanged, this, [this] {
        const QUrl folder = delegate_.property("folderPath").toUrl();
        if (folder.isLocalFile() && QFileInfo(folder.toLocalFile()).isDir())
            memory_.addRecentFolder(folder.toLocalFile());
    });
}

void MainWindow::restoreRemembered() {
    if (const QByteArray geometry = memory_.geometry(); !geometry.isEmpty())
        restoreGeometry(geometry);
    const int page = memory_.lastPage();
    showTab(page >= 0 && page < kPageCount ? page : 0);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString folder = droppedFolder(event->mimeData());
    if (folder.isEmpty())
        return;
    event->acceptProposedAction();
    useFolder(QUrl::fromLocalFile(folder));
}

void MainWindow::useFolder(const QUrl& folder) {
    delegate_.setProperty("folderPath", folder);
    delegate_.pathSelected();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    memory_.setGeometry(saveGeometry());
    memory_.setLastPage(current_);
    event->accept();
    QCoreApplication::quit();
}

}  // namespace tessel::gui
