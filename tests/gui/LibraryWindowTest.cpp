// The library window over a real library database: filling it through the window, browsing
// and filtering, the selection the tools and the command line see, and the playlist edits.
#include "GuiTestSupport.h"
#include "app/RunToEnd.h"
#include "gui/ChangePanelDialog.h"
#include "gui/LibrarySourceModel.h"
#include "gui/LibraryTrackModel.h"
#include "gui/LibraryWindow.h"
#include "gui/ProgressSheet.h"
#include "gui/SearchReplacePage.h"
#include "gui/TrackSourceBox.h"
#include "itunes/MusicLibrary.h"
#include "model/MusicTrack.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <QUrl>

namespace tessel::gui::test {
namespace {

class LibraryWindowTest : public tessel::test::TesselTest {
  protected:
    LibraryWindowTest()
        : libraryFile(temp.filePath("library.sqlite")),
          delegate(itunes::libraryProvider(libraryFile), presenter) {
        delegate.applicationDidFinishLaunching();
        window = std::make_unique<MainWindow>(delegate);
        presenter.setWindow(window.get());
        window->show();
        window->openLibrary();
        library = window->libraryWindow();
        LibraryDialogs dialogs;
        dialogs.chooseExport = [this](QWidget*) { return exportFile; };
        dialogs.chooseFolder = [this](QWidget*) { return folder; };
        dialogs.askName = [this](QWidget*, const QString&, const QString&) { return name; };
        dialogs.choose = [this](QWidget*, const QString&, const QStringList& choices, bool) {
            offered = choices;
            return choice;
        };
        dialogs.confirm = [this](QWidget*, const QString&, const QString& question) {
            questions.append(question);
            return yes;
        };
        library->setDialogs(dialogs);
    }

    ~LibraryWindowTest() override { presenter.setWindow(nullptr); }

    // The export of the library tests, its one living track a copy of a fixture file.
    void importThroughTheWindow() {
        const QString living = temp.copyFixture("tagged.mp3", "music/Living Track.mp3");
        QString text = QString::fromUtf8(tessel::test::fileBytes(
            QDir(QStringLiteral(TESSEL_ITUNES_DATA)).filePath("Library.xml")));
        text.replace("__LIVING_TRACK__", QUrl::fromLocalFile(living).toString());
        exportFile = temp.writeFile("Library.xml", text.toUtf8());
        ASSERT_TRUE(
            tessel::test::runToEnd(delegate, [&] { library->action("importLibrary")->trigger(); }));
    }

    QStringList column(int column) const {
        QStringList values;
        const auto* model = library->trackModel();
        for (int row = 0; row < model->rowCount(); ++row)
            values.append(model->index(row, column).data().toString());
        return values;
    }

    void showPlaylistNamed(const QString& playlistName) {
        const auto app = itunes::libraryProvider(libraryFile)();
        library->showPlaylist(tessel::test::playlistNamed(*app, playlistName)->persistentId());
    }

    void selectRows(const QList<int>& rows) {
        QTableView* table = library->trackTable();
        table->clearSelection();
        for (int row : rows)
            table->selectionModel()->select(
                table->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        library->storeSelection();
    }

    QString libraryFile;
    GuiPresenter presenter;
    AppDelegate delegate;
    std::unique_ptr<MainWindow> window;
    LibraryWindow* library = nullptr;
    AlertAnswerer answerer;
    QString exportFile;
    QString folder;
    std::optional<QString> name;
    std::optional<QString> choice;
    QStringList offered;
    QStringList questions;
    bool yes = true;
};

TEST_F(LibraryWindowTest, AnImportedLibraryShowsItsPlaylistsAndItsDeadTracks) {
    importThroughTheWindow();
    ASSERT_FALSE(answerer.alerts.isEmpty());
    EXPECT_TRUE(answerer.alerts.last().startsWith("Library Updated: Tracks: 6 added"));

    // The whole library first, then the playlists with folders holding their children.
    const auto* sources = library->sourceModel();
    QStringList top;
    for (int row = 0; row < sources->rowCount(); ++row)
        top.append(sources->index(row, 0).data().toString());
    EXPECT_EQ(top, (QStringList{"Library", "Music", "Collections", "Road Trip", "Top Rated",
                                "Mixed", "Empty"}));
    const QModelIndex folder = sources->index(2, 0);
    ASSERT_EQ(sources->rowCount(folder), 1);
    EXPECT_EQ(sources->index(0, 0, folder).data().toString(), "Road Trip");
    EXPECT_EQ(sources->index(0, LibrarySourceModel::Tracks).data().toInt(), 6);
    EXPECT_EQ(sources->index(0, LibrarySourceModel::Tracks, folder).data().toInt(), 3);
    EXPECT_FALSE(sources->index(4, 0).data(LibrarySourceModel::EditableRole).toBool());
    EXPECT_TRUE(sources->index(5, 0).data(LibrarySourceModel::EditableRole).toBool());

    // The library's tracks: a dead file shows its last known path.
    const int file = int(itunes::browse::Column::File);
    EXPECT_EQ(library->trackModel()->rowCount(), 6);
    const QStringList files = column(file);
    EXPECT_FALSE(files.at(0).startsWith("Missing"));
    EXPECT_EQ(files.at(5), "Missing: /home/old/Music/unix song.flac");
    EXPECT_TRUE(library->trackModel()->index(5, 0).data(LibraryTrackModel::DeadRole).toBool());
    EXPECT_EQ(column(int(itunes::browse::Column::Year)).at(0), "1999");

    // A library export that is no export: the importer's message, the library unchanged.
    exportFile = temp.writeFile("broken.xml", "<plist><dict><key>Tracks</key><dict>");
    EXPECT_FALSE(
        tessel::test::runToEnd(delegate, [&] { library->action("importLibrary")->trigger(); }));
    EXPECT_TRUE(answerer.alerts.last().startsWith("Import Failed: "))
        << answerer.alerts.last().toStdString();
    EXPECT_EQ(library->trackModel()->rowCount(), 6);
}

TEST_F(LibraryWindowTest, SortingAndTheFilterNarrowTheRows) {
    importThroughTheWindow();
    library->trackTable()->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(column(0).first(), "Windows Song");
    QTest::keyClick(library, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(library->filterField()->hasFocus() || !library->isActiveWindow());
    QTest::keyClicks(library->filterField(), "old");  // "Gone Song" and "Unix Song": "Old Artist"
    EXPECT_TRUE(waitFor([&] { return library->trackModel()->rowCount() < 6; }));
    const QStringList narrowed = column(0);
    EXPECT_FALSE(narrowed.contains("Radio Stream"));
    EXPECT_FALSE(narrowed.isEmpty());
    library->filterField()->clear();
    EXPECT_TRUE(waitFor([&] { return library->trackModel()->rowCount() == 6; }));
}

TEST_F(LibraryWindowTest, SelectedRowsAreTheSelectionOfTheToolsAndTheCommandLine) {
    importThroughTheWindow();
    // Four living tracks, added with a folder into a playlist of their own.
    for (int i = 1; i <= 4; ++i) {
        const QString path = temp.copyFixture("tagged.mp3", QStringLiteral("four/%1.mp3").arg(i));
        MusicTrack::withPath(path).setTag("name", QStringLiteral("Tune %1").arg(i));
    }
    folder = temp.filePath("four");
    choice = QStringLiteral("Four");
    ASSERT_TRUE(tessel::test::runToEnd(delegate, [&] { library->action("addFolder")->trigger(); }));
    showPlaylistNamed("Four");
    ASSERT_EQ(library->trackModel()->rowCount(), 4);
    library->trackTable()->sortByColumn(0, Qt::DescendingOrder);
    selectRows({0, 2, 3});
    const QStringList chosen{"Tune 4", "Tune 2", "Tune 1"};
    EXPECT_EQ(delegate.selectedTrackCount(), 3);
    const auto* box = static_cast<SearchReplacePage*>(window->pageView(0))->trackSource();
    EXPECT_EQ(box->selectedCountLabel()->text(), "(3 tracks selected)");

    QProcess cli;
    cli.start(QStringLiteral(TESSEL_CLI),
              {"library", "tracks", "--selection", "--library", libraryFile, "--json"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    QStringList listed;
    for (const QJsonValue& track : QJsonDocument::fromJson(cli.readAllStandardOutput()).array())
        listed.append(track.toObject()["name"].toString());
    EXPECT_EQ(listed, chosen);

    // A tool on "Selection in the library" proposes changes for exactly those tracks.
    delegate.setProperty("selectedMethod", TrackSourceBox::Selection);
    delegate.setProperty("searchString", "Tune");
    delegate.setProperty("replaceString", "Song");
    ASSERT_TRUE(tessel::test::runToEnd(delegate, [&] { delegate.performSearchReplace(); }));
    ASSERT_TRUE(delegate.changes());
    QStringList proposed;
    for (const auto& record : delegate.changes()->records)
        proposed.append(record.title);
    EXPECT_EQ(proposed, chosen);
    delegate.cancelChanges(true);
    // After the run the window is read again and still shows which rows are selected, in
    // any order of the rows.
    EXPECT_EQ(library->trackTable()->selectionModel()->selectedRows().size(), 3);
    library->trackTable()->sortByColumn(0, Qt::AscendingOrder);
    QList<int> rows;
    for (const QModelIndex& index : library->trackTable()->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (QList<int>{0, 1, 3}));
}

TEST_F(LibraryWindowTest, PlaylistEditsGoThroughTheLibraryAndAskFirst) {
    importThroughTheWindow();
    name = QStringLiteral("Fresh");
    library->action("newPlaylist")->trigger();
    EXPECT_TRUE(delegate.playlists().contains("Fresh"));
    EXPECT_EQ(library->sourceList()->currentIndex().data().toString(), "Fresh");

    // Add two of the library's tracks to it, then remove one with Delete after a question.
    library->showPlaylist({});
    selectRows({0, 1});
    choice = QStringLiteral("Fresh");
    library->action("addToPlaylist")->trigger();
    showPlaylistNamed("Fresh");
    ASSERT_EQ(library->trackModel()->rowCount(), 2);
    selectRows({0});
    yes = false;
    library->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(library));
    library->trackTable()->setFocus();
    QTest::keyClick(library->trackTable(), Qt::Key_Delete);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(library->trackModel()->rowCount(), 2);
    yes = true;
    QTest::keyClick(library->trackTable(), Qt::Key_Delete);
    EXPECT_EQ(questions.last(),
              "Remove 1 track from the playlist “Fresh”? They stay in the library.");
    EXPECT_EQ(library->trackModel()->rowCount(), 1);

    // A smart playlist cannot be deleted or emptied from here.
    showPlaylistNamed("Top Rated");
    EXPECT_FALSE(library->action("deletePlaylist")->isEnabled());
    EXPECT_FALSE(library->action("removeFromPlaylist")->isEnabled());
    showPlaylistNamed("Fresh");
    name = QStringLiteral("Renamed");
    library->action("renamePlaylist")->trigger();
    library->action("deletePlaylist")->trigger();
    EXPECT_FALSE(delegate.playlists().contains("Renamed"));
    EXPECT_FALSE(delegate.playlists().contains("Fresh"));
    EXPECT_EQ(library->trackModel()->rowCount(), 6) << "the whole library is shown again";
}

TEST_F(LibraryWindowTest, AFolderDroppedOnTheWindowIsAdded) {
    temp.copyFixture("tagged.flac", "dropped/a.flac");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(temp.filePath("dropped"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(library, &enter);
    EXPECT_TRUE(enter.isAccepted());
    choice = QStringLiteral("dropped");
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(tessel::test::runToEnd(delegate, [&] { QApplication::sendEvent(library, &drop); }));
    EXPECT_TRUE(delegate.playlists().contains("dropped"));

    // A file that is no library export is not taken.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(temp.filePath("dropped/a.flac"))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(library, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(LibraryWindowTest, TheProgressSheetStopsAnImportOnEscape) {
    for (int i = 0; i < 150; ++i)
        temp.copyFixture("tagged.mp3", QStringLiteral("many/%1.mp3").arg(i));
    folder = temp.filePath("many");
    choice = QStringLiteral("many");
    ProgressSheet* sheet = window->progressSheet();
    EXPECT_FALSE(tessel::test::runToEnd(delegate, [&] {
        library->action("addFolder")->trigger();
        ASSERT_TRUE(sheet->cancelButton()->isVisible());
        QTest::keyClick(sheet, Qt::Key_Escape);
    }));
    EXPECT_EQ(offered.first(), "many");
    EXPECT_FALSE(delegate.playlists().contains("many"));
    EXPECT_EQ(library->trackModel()->rowCount(), 0);
}

}  // namespace
}  // namespace tessel::gui::test
