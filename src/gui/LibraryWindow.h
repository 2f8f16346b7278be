// The library window: fill the music library (a Library.xml export or a folder of music files,
// from the toolbar or dropped on the window), browse it (the playlists beside a table of their
// tracks, sorted by any column and filtered as you type), choose the tracks the tools work on
// ("Selection in the library": the rows selected here), and make the small playlist edits a
// user expects. Every change goes through the controller; the window reads the library again
// when a run ends.
#pragma once

#include "itunes/Connection.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QTableView;
class QTreeView;

namespace tessel {
class AppDelegate;
}

namespace tessel::gui {

class LibrarySourceModel;
class LibraryTrackModel;

/// How the window asks the user; tests replace these.
struct LibraryDialogs {
    /// A Library.xml file; empty when cancelled.
    std::function<QString(QWidget*)> chooseExport;
    /// A folder of music files; empty when cancelled.
    std::function<QString(QWidget*)> chooseFolder;
    /// A text such as a playlist's name, proposing text; absent when cancelled.
    std::function<std::optional<QString>(QWidget*, const QString& title, const QString& text)>
        askName;
    /// One of choices (or, when editable, a new text); absent when cancelled.
    std::function<std::optional<QString>(QWidget*, const QString& title, const QStringList& choices,
                                         bool editable)>
        choose;
    /// Yes or no to a question.
    std::function<bool(QWidget*, const QString& title, const QString& question)> confirm;

    static LibraryDialogs standard();
};

class LibraryWindow : public QMainWindow {
    Q_OBJECT

  public:
    /// sheetHost: the window whose progress sheet shows the imports (the main window).
    explicit LibraryWindow(AppDelegate& delegate, QWidget* parent = nullptr);
    ~LibraryWindow() override;

    void setDialogs(LibraryDialogs dialogs) { dialogs_ = std::move(dialogs); }

    /// Reads the playlists and the tracks again, keeping the playlist shown.
    void reload();
    /// Shows the playlist with this persistent ID (empty: the whole library).
    void showPlaylist(const QString& persistentId);
    /// Stores the rows selected now as the library's selection at once.
    void storeSelection();

    // Actions of the toolbar, for the keyboard and the tests.
    void importLibrary();
    void addFolder();
    void newPlaylist();
    void renamePlaylist();
    void deletePlaylist();
    void addToPlaylist();
    void removeFromPlaylist();

    QTreeView* sourceList() const { return sources_; }
    QTableView* trackTable() const { return table_; }
    QLineEdit* filterField() const { return filter_; }
    LibraryTrackModel* trackModel() const { return tracks_; }
    LibrarySourceModel* sourceModel() const { return sourceModel_; }
    QAction* action(const QString& objectName) const;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildActions();
    void buildLayout();
    void connectViews();
    void openLibrary();
    void sourceChosen();
    void updateActions();
    void updateStatus();
    void addFolderAt(const QString& folder);
    QList<int> selectedRows() const;
    void showStoredSelection();
    QString currentPersistentId() const;
    QString currentName() const;
    bool currentEditable() const;

    AppDelegate& delegate_;
    LibraryDialogs dialogs_;
    itunes::ConnectionPtr connection_;
    LibrarySourceModel* sourceModel_;
    LibraryTrackModel* tracks_;
    QTreeView* sources_;
    QTableView* table_;
    QLineEdit* filter_;
    QLabel* status_;
    QTimer selectionTimer_;
    QTimer filterTimer_;
    std::optional<qint64> shownPlaylist_;
    bool restoring_ = false;
    int playlistsShown_ = 0;  // counts sourceChosen, so a reload reads the rows once
};

}  // namespace tessel::gui
