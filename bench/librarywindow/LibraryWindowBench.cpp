// Fills a new library with many tracks (every fifth with a file that does not exist), then
// opens the library window on it and times what a user waits for: the window shown with its
// first rows, a sort by artist, a filter, and a scroll to the middle. Target on the
// development machine: the window open in under 0.5 s for 100,000 tracks.
#include "app/AppDelegate.h"
#include "gui/GuiPresenter.h"
#include "gui/LibraryTrackModel.h"
#include "gui/LibraryWindow.h"
#include "gui/MainWindow.h"
#include "itunes/Connection.h"
#include "itunes/MusicLibrary.h"
#include "itunes/PlaylistStore.h"
#include "itunes/TrackStore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

using namespace tessel;

void fill(const QString& file, const QString& living, int tracks) {
    auto connection = itunes::Connection::open(file);
    connection->locked([&](sql::Database& db) {
        sql::Transaction transaction(db);
        itunes::trackstore::Upserter upserter(db);
        const qint64 playlist = itunes::playliststore::create(
            db, QStringLiteral("Half"), itunes::playliststore::PlaylistKind::User);
        itunes::playliststore::Appender appender(db);
        for (int id = 1; id <= tracks; ++id) {
            itunes::trackstore::TrackRecord record;
            record.persistentId = QStringLiteral("%1").arg(id, 16, 16, QChar(u'0'));
            record.location =
                id % 5 == 0 ? QStringLiteral("/nowhere/Track %1.mp3").arg(id) : living;
            record.set(QStringLiteral("name"), QStringLiteral("Track %1").arg(id));
            record.set(QStringLiteral("artist"), QStringLiteral("Artist %1").arg(id % 500));
            record.set(QStringLiteral("album"), QStringLiteral("Album %1").arg(id % 2000));
            record.set(QStringLiteral("albumArtist"), QStringLiteral("Artist %1").arg(id % 500));
            record.set(QStringLiteral("genre"), QStringLiteral("Genre %1").arg(id % 20));
            record.set(QStringLiteral("year"), 1960 + id % 60);
            record.set(QStringLiteral("trackNumber"), id % 12 + 1);
            record.set(QStringLiteral("rating"), id % 6 * 20);
            record.set(QStringLiteral("playedCount"), id % 37);
            record.set(QStringLiteral("duration"), 180 + id % 120);
            const qint64 stored = upserter.upsert(record).id;
            if (id % 2 == 0)
                appender.append(playlist, stored);
        }
        transaction.commit();
    });
}

double since(QElapsedTimer& timer) {
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int tracks = arguments.size() > 1 ? arguments.at(1).toInt() : 100000;
    const QString shot = arguments.value(2);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("library.sqlite"));

    QElapsedTimer timer;
    timer.start();
    const QString living = dir.filePath(QStringLiteral("living.mp3"));
    QFile(living).open(QIODevice::WriteOnly);
    fill(file, living, tracks);
    std::printf("library of %d tracks made in %.0f ms\n", tracks, since(timer));

    gui::GuiPresenter presenter;
    AppDelegate delegate(itunes::libraryProvider(file), presenter);
    gui::LibraryWindow window(delegate);
    window.show();
    QApplication::processEvents();
    std::printf("window open with its first rows: %.1f ms\n", since(timer));

    window.trackTable()->sortByColumn(1, Qt::AscendingOrder);
    QApplication::processEvents();
    std::printf("sorted by artist: %.1f ms\n", since(timer));

    window.trackModel()->setFilter(QStringLiteral("Artist 42"));
    QApplication::processEvents();
    std::printf("filtered (%d rows): %.1f ms\n", window.trackModel()->rowCount(), since(timer));
    window.trackModel()->setFilter({});

    timer.restart();
    QScrollBar* bar = window.trackTable()->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    window.trackTable()->selectRow(window.trackModel()->rowCount() / 2 + 3);
    QApplication::processEvents();
    std::printf("scrolled to the middle: %.1f ms\n", since(timer));

    window.trackTable()->selectAll();
    std::printf("all rows selected in the table: %.1f ms\n", since(timer));
    window.storeSelection();
    std::printf("all %d rows stored as the selection: %.1f ms\n", delegate.selectedTrackCount(),
                since(timer));
    window.trackTable()->clearSelection();
    window.trackTable()->selectRow(window.trackModel()->rowCount() / 2 + 3);
    window.storeSelection();
    QApplication::processEvents();
    timer.restart();

    if (!shot.isEmpty()) {
        QEventLoop settle;
        QTimer::singleShot(300, &settle, &QEventLoop::quit);
        settle.exec();
        window.grab().save(shot);
    }
    return 0;
}
