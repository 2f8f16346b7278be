#include "LibraryWindow.h"

#include "LibrarySourceModel.h"
#include "LibraryTrackModel.h"
#include "app/AppDelegate.h"
#include "itunes/LibraryApplication.h"
#include "itunes/LibraryTrack.h"
#include "itunes/PlaylistStore.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSet>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace tessel::gui {

namespace {

// The selection is stored once the user stops changing it for a moment.
constexpr int kSelectionDelayMs = 150;
constexpr int kFilterDelayMs = 150;

bool isExport(const QFileInfo& file) {
    return file.isFile() && file.suffix().compare(u"xml", Qt::CaseInsensitive) == 0;
}

QString droppedPath(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    const QFileInfo file(path);
    return file.isDir() || isExport(file) ? path : QString();
}

QString tracksText(int count) {
    return count == 1 ? LibraryWindow::tr("1 track")
                      : LibraryWindow::tr("%1 tracks").arg(QLocale().toString(count));
}

}  // namespace

LibraryDialogs LibraryDialogs::standard() {
    LibraryDialogs dialogs;
    dialogs.chooseExport = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, LibraryWindow::tr("Import Library.xml"), {},
                                            LibraryWindow::tr("Library export (*.xml)"));
    };
    dialogs.chooseFolder = [](QWidget* parent) {
        return QFileDialog::getExistingDirectory(parent,
                                                 LibraryWindow::tr("Add a Folder of Music Files"));
    };
    dialogs.askName = [](QWidget* parent, const QString& title,
                         const QString& text) -> std::optional<QString> {
        bool ok = false;
        const QString name = QInputDialog::getText(parent, title, LibraryWindow::tr("Name:"),
                                                   QLineEdit::Normal, text, &ok);
        if (!ok || name.trimmed().isEmpty())
            return std::nullopt;
        return name;
    };
    dialogs.choose = [](QWidget* parent, const QString& title, const QStringList& choices,
                        bool editable) -> std::optional<QString> {
        bool ok = false;
        const QString choice = QInputDialog::getItem(parent, title, LibraryWindow::tr("Playlist:"),
                                                     choices, 0, editable, &ok);
        if (!ok || choice.trimmed().isEmpty())
            return std::nullopt;
        return choice;
    };
    dialogs.confirm = [](QWidget* parent, const QString& title, const QString& question) {
        return QMessageBox::question(parent, title, question) == QMessageBox::Yes;
    };
    return dialogs;
}

LibraryWindow::LibraryWindow(AppDelegate& delegate, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      delegate_(delegate),
      dialogs_(LibraryDialogs::standard()),
      sourceModel_(new LibrarySourceModel(this)),
      tracks_(new LibraryTrackModel(this)),
      sources_(new QTreeView),
      table_(new QTableView),
      filter_(new QLineEdit),
      status_(new QLabel) {
    setWindowTitle(tr("Tessel Library"));
    setObjectName(QStringLiteral("library"));
    setAcceptDrops(true);
    buildActions();
    buildLayout();
    connectViews();
    openLibrary();
    resize(1280, 680);
}

LibraryWindow::~LibraryWindow() = default;

void LibraryWindow::buildActions() {
    // The menu holds every action too, so the keyboard reaches them all (Alt+L).
    QMenu* menu = menuBar()->addMenu(tr("&Library"));
    QToolBar* bar = addToolBar(tr("Library"));
    bar->setObjectName(QStringLiteral("libraryActions"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->toggleViewAction()->setVisible(false);
    const auto add = [&](const char* name, const QString& text, const QKeySequence& keys,
                         void (LibraryWindow::*slot)()) {
        QAction* item = bar->addAction(text);
        menu->addAction(item);
        item->setObjectName(QString::fromLatin1(name));
        item->setShortcut(keys);
        if (!keys.isEmpty())
            item->setToolTip(QStringLiteral("%1 (%2)").arg(
                QString(text).remove(u'&'), keys.toString(QKeySequence::NativeText)));
        connect(item, &QAction::triggered, this, slot);
        return item;
    };
    add("importLibrary", tr("&Import Library.xml…"), QKeySequence(Qt::CTRL | Qt::Key_I),
        &LibraryWindow::importLibrary);
    add("addFolder", tr("Add &Folder…"), QKeySequence(Qt::CTRL | Qt::Key_O),
        &LibraryWindow::addFolder);
    bar->addSeparator();
    menu->addSeparator();
    add("newPlaylist", tr("&New Playlist…"), QKeySequence(Qt::CTRL | Qt::Key_N),
        &LibraryWindow::newPlaylist);
    add("renamePlaylist", tr("&Rename…"), QKeySequence(Qt::Key_F2), &LibraryWindow::renamePlaylist);
    add("deletePlaylist", tr("&Delete Playlist…"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
        &LibraryWindow::deletePlaylist);
    bar->addSeparator();
    menu->addSeparator();
    add("addToPlaylist", tr("&Add to Playlist…"), QKeySequence(Qt::CTRL | Qt::Key_P),
        &LibraryWindow::addToPlaylist);
    // Delete acts on the table's selected rows only while the table has the focus.
    QAction* remove = add("removeFromPlaylist", tr("Remo&ve from Playlist…"), {},
                          &LibraryWindow::removeFromPlaylist);
    remove->setToolTip(tr("Remove the selected tracks from the playlist (Delete)"));
    auto* removeKey = new QAction(table_);
    removeKey->setShortcut(QKeySequence::Delete);
    removeKey->setShortcutContext(Qt::WidgetShortcut);
    connect(removeKey, &QAction::triggered, this, &LibraryWindow::removeFromPlaylist);
    table_->addAction(removeKey);

    menu->addSeparator();
    QAction* filter = menu->addAction(tr("Fil&ter Tracks"));
    filter->setShortcut(QKeySequence::Find);
    connect(filter, &QAction::triggered, this, [this] {
        filter_->setFocus(Qt::ShortcutFocusReason);
        filter_->selectAll();
    });
    QAction* closeKey = menu->addAction(tr("&Close Window"));
    closeKey->setShortcut(QKeySequence::Close);
    connect(closeKey, &QAction::triggered, this, &QWidget::close);
}

void LibraryWindow::buildLayout() {
    sources_->setModel(sourceModel_);
    sources_->setAccessibleName(tr("Playlists"));
    sources_->setHeaderHidden(false);
    sources_->setUniformRowHeights(true);
    sources_->setSelectionMode(QAbstractItemView::SingleSelection);
    sources_->header()->setStretchLastSection(false);
    sources_->header()->setSectionResizeMode(LibrarySourceModel::Name, QHeaderView::Stretch);
    sources_->header()->setSectionResizeMode(LibrarySourceModel::Tracks,
                                             QHeaderView::ResizeToContents);

    table_->setModel(tracks_);
    table_->setAccessibleName(tr("Tracks"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setSortingEnabled(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->horizontalHeader()->setSectionsMovable(true);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setWordWrap(false);
    table_->setAlternatingRowColors(true);
    for (int column : {0, 1, 2, 3})
        table_->setColumnWidth(column, 150);
    for (int column : {5, 6, 7})
        table_->setColumnWidth(column, 64);
    table_->resizeColumnToContents(int(itunes::browse::Column::PlayCount));
    table_->setColumnWidth(int(itunes::browse::Column::File), 320);

    filter_->setPlaceholderText(tr("Filter by title, artist or album (Ctrl+F)"));
    filter_->setAccessibleName(tr("Filter"));
    filter_->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(tr("&Filter:"));
    filterLabel->setBuddy(filter_);

    auto* right = new QWidget;
    auto* column = new QVBoxLayout(right);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    row->addWidget(filterLabel);
    row->addWidget(filter_, 1);
    column->addLayout(row);
    column->addWidget(table_, 1);

    auto* split = new QSplitter;
    split->addWidget(sources_);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({260, 840});
    setCentralWidget(split);
    statusBar()->addWidget(status_, 1);
    setTabOrder(sources_, filter_);
    setTabOrder(filter_, table_);
}

void LibraryWindow::connectViews() {
    selectionTimer_.setSingleShot(true);
    selectionTimer_.setInterval(kSelectionDelayMs);
    filterTimer_.setSingleShot(true);
    filterTimer_.setInterval(kFilterDelayMs);
    connect(&selectionTimer_, &QTimer::timeout, this, &LibraryWindow::storeSelection);
    connect(&filterTimer_, &QTimer::timeout, this, [this] { tracks_->setFilter(filter_->text()); });
    connect(filter_, &QLineEdit::textChanged, &filterTimer_, qOverload<>(&QTimer::start));
    connect(sources_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &LibraryWindow::sourceChosen);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!restoring_)
            selectionTimer_.start();
        updateStatus();
    });
    // Whatever read the rows again (a sort, the filter, another playlist, a run), the rows of
    // the library's selection show selected.
    connect(tracks_, &QAbstractItemModel::modelReset, this, &LibraryWindow::showStoredSelection);
    connect(&delegate_, &AppDelegate::runEnded, this, &LibraryWindow::reload);
    connect(&delegate_, &AppDelegate::selectedTrackCountChanged, this,
            &LibraryWindow::updateStatus);
}

// The window keeps its own connection for browsing; edits go through the controller.
void LibraryWindow::openLibrary() {
    try {
        const auto application =
            std::dynamic_pointer_cast<itunes::LibraryApplication>(delegate_.library()());
        connection_ = application ? application->connection() : nullptr;
    } catch (const TesselError&) {
        connection_ = nullptr;
    }
    reload();
}

void LibraryWindow::reload() {
    if (!connection_) {
        openLibrary();
        if (!connection_)
            return;
    }
    const std::optional<qint64> shown = shownPlaylist_;
    sourceModel_->reload(connection_);
    sources_->expandAll();
    const int shownBefore = playlistsShown_;
    sources_->setCurrentIndex(sourceModel_->indexOf(shown));  // shows it when the index moved
    if (playlistsShown_ == shownBefore)
        tracks_->reload();
    updateActions();
}

// The rows of the library's selection are selected again, so what the tools will work on stays
// in view after a run or an edit.
void LibraryWindow::showStoredSelection() {
    if (!connection_)
        return;
    QSet<QPair<qint64, qint64>> stored;
    try {
        connection_->locked([&](sql::Database& db) {
            for (const auto& selected : itunes::playliststore::selection(db))
                stored.insert({selected.trackId, selected.itemId.value_or(-1)});
        });
    } catch (const TesselError&) {
        return;
    }
    // Runs of neighbouring rows become one range each, so a large selection stays small.
    QItemSelection rows;
    int runStart = -1;
    const int last = tracks_->columnCount() - 1;
    for (int row = 0; row <= tracks_->rowCount(); ++row) {
        const bool selected =
            row < tracks_->rowCount() &&
            stored.contains({tracks_->key(row).trackId, tracks_->key(row).itemId.value_or(-1)});
        if (selected && runStart < 0)
            runStart = row;
        if (!selected && runStart >= 0) {
            rows.select(tracks_->index(runStart, 0), tracks_->index(row - 1, last));
            runStart = -1;
        }
    }
    restoring_ = true;
    table_->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    restoring_ = false;
    updateStatus();
}

void LibraryWindow::showPlaylist(const QString& persistentId) {
    for (int row = 0; row < sourceModel_->rowCount(); ++row) {
        QList<QModelIndex> pending{sourceModel_->index(row, 0)};
        while (!pending.isEmpty()) {
            const QModelIndex index = pending.takeFirst();
            if (index.data(LibrarySourceModel::PersistentIdRole).toString() == persistentId) {
                sources_->setCurrentIndex(index);
                return;
            }
            for (int child = 0; child < sourceModel_->rowCount(index); ++child)
                pending.append(sourceModel_->index(child, 0, index));
        }
    }
}

void LibraryWindow::sourceChosen() {
    const QVariant id = sources_->currentIndex().data(LibrarySourceModel::PlaylistIdRole);
    shownPlaylist_ = id.isValid() ? std::optional(id.toLongLong()) : std::nullopt;
    ++playlistsShown_;
    tracks_->show(connection_, shownPlaylist_);
    updateActions();
}

QString LibraryWindow::currentPersistentId() const {
    return sources_->currentIndex().data(LibrarySourceModel::PersistentIdRole).toString();
}

QString LibraryWindow::currentName() const {
    return sources_->currentIndex().siblingAtColumn(0).data().toString();
}

bool LibraryWindow::currentEditable() const {
    return sources_->currentIndex().data(LibrarySourceModel::EditableRole).toBool();
}

void LibraryWindow::updateActions() {
    const bool editable = currentEditable();
    action(QStringLiteral("renamePlaylist"))
        ->setEnabled(sources_->currentIndex().data(LibrarySourceModel::RenamableRole).toBool());
    action(QStringLiteral("deletePlaylist"))->setEnabled(editable);
    action(QStringLiteral("removeFromPlaylist"))->setEnabled(editable);
    action(QStringLiteral("addFolder"))->setEnabled(connection_ != nullptr);
    action(QStringLiteral("importLibrary"))->setEnabled(connection_ != nullptr);
}

void LibraryWindow::updateStatus() {
    const int selected = int(selectedRows().size());
    status_->setText(tracksText(tracks_->rowCount()) + QStringLiteral(" · ") +
                     tr("%1 selected").arg(QLocale().toString(selected)));
}

QAction* LibraryWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

// From the selection's ranges: selecting every row of a large table gives one range, where a
// list of selected indexes would be as long as the table.
QList<int> LibraryWindow::selectedRows() const {
    QList<int> rows;
    for (const QItemSelectionRange& range : table_->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void LibraryWindow::storeSelection() {
    selectionTimer_.stop();
    if (!connection_)
        return;
    const QList<int> rows = selectedRows();
    QList<itunes::TrackPtr> tracks;
    tracks.reserve(rows.size());
    for (int row : rows) {
        const auto& key = tracks_->key(row);
        tracks.append(std::make_shared<itunes::LibraryTrack>(connection_, key.trackId, key.itemId));
    }
    delegate_.selectTracks(tracks);
}

// ---- filling ----

void LibraryWindow::importLibrary() {
    const QString path = dialogs_.chooseExport(this);
    if (!path.isEmpty())
        delegate_.performImportLibrary(path);
}

void LibraryWindow::addFolder() {
    const QString folder = dialogs_.chooseFolder(this);
    if (!folder.isEmpty())
        addFolderAt(folder);
}

// Into a new playlist named after the folder, or one the user picks or names.
void LibraryWindow::addFolderAt(const QString& folder) {
    const QString noPlaylist = tr("(the library only)");
    QStringList choices{QFileInfo(folder).fileName()};
    choices += delegate_.editablePlaylists();
    choices.append(noPlaylist);
    choices.removeDuplicates();
    const auto playlist = dialogs_.choose(this, tr("Add Folder"), choices, true);
    if (!playlist)
        return;
    const int index = int(delegate_.editablePlaylists().indexOf(*playlist));
    std::optional<QString> target;
    if (index >= 0)
        target = delegate_.editablePlaylistIds().value(index);
    else if (*playlist != noPlaylist)
        target = *playlist;
    delegate_.performAddFolder(folder, target);
}

void LibraryWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedPath(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void LibraryWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedPath(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has finished, so the source of the drag is not kept waiting.
    QTimer::singleShot(0, this, [this, path] {
        if (QFileInfo(path).isDir())
            addFolderAt(path);
        else
            delegate_.performImportLibrary(path);
    });
}

// ---- playlist edits ----

void LibraryWindow::newPlaylist() {
    const auto name = dialogs_.askName(this, tr("New Playlist"), tr("untitled playlist"));
    if (!name)
        return;
    if (const auto id = delegate_.makePlaylist(*name)) {
        reload();
        showPlaylist(*id);
    }
}

void LibraryWindow::renamePlaylist() {
    const QString id = currentPersistentId();
    if (id.isEmpty())
        return;
    const auto name = dialogs_.askName(this, tr("Rename Playlist"), currentName());
    if (name && delegate_.renamePlaylist(id, *name))
        reload();
}

void LibraryWindow::deletePlaylist() {
    const QString id = currentPersistentId();
    if (id.isEmpty() || !currentEditable())
        return;
    const QString question =
        tr("Delete the playlist “%1”? Its tracks stay in the library.").arg(currentName());
    if (!dialogs_.confirm(this, tr("Delete Playlist"), question))
        return;
    if (delegate_.deletePlaylist(id)) {
        shownPlaylist_.reset();
        reload();
    }
}

void LibraryWindow::addToPlaylist() {
    if (!table_->selectionModel()->hasSelection())
        return;
    const QStringList names = delegate_.editablePlaylists();
    const auto choice = dialogs_.choose(this, tr("Add to Playlist"), names, false);
    if (!choice || !names.contains(*choice))
        return;
    const QString target = delegate_.editablePlaylistIds().value(int(names.indexOf(*choice)));
    storeSelection();
    if (delegate_.addSelectionToPlaylist(target))
        reload();
}

void LibraryWindow::removeFromPlaylist() {
    const int count = int(selectedRows().size());
    if (count == 0 || !currentEditable())
        return;
    const QString question = tr("Remove %1 from the playlist “%2”? They stay in the library.")
                                 .arg(tracksText(count), currentName());
    if (!dialogs_.confirm(this, tr("Remove from Playlist"), question))
        return;
    storeSelection();
    if (delegate_.removeSelectionFromPlaylist(currentPersistentId()))
        reload();
}

}  // namespace tessel::gui
