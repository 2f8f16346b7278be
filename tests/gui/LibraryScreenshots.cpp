// Renders the library's faces for looking at them (run under Xvfb by hand, never by the tests):
//   gui_screenshots OUTPUT_DIR
// writes empty-first-launch.png (the main window on an empty library, with its hint) and
// library-imported.png (the library window after importing the library tests' export, whose
// dead tracks show their last known paths).
#include "app/AppDelegate.h"
#include "gui/GuiPresenter.h"
#include "gui/LibraryWindow.h"
#include "gui/MainWindow.h"
#include "itunes/MusicLibrary.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

namespace {

using namespace tessel;

void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessel"));
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    const QDir out(QApplication::arguments().value(1, QStringLiteral(".")));
    const QString file = home.filePath("library.sqlite");

    gui::GuiPresenter presenter;
    AppDelegate delegate(itunes::libraryProvider(file), presenter);
    delegate.setAsksForRating(false);
    delegate.applicationDidFinishLaunching();
    gui::MainWindow window(delegate);
    presenter.setWindow(&window);
    window.show();
    window.startLaunchHint();
    settle(500);
    window.grab().save(out.filePath("empty-first-launch.png"));

    const QString living = home.filePath("Living Track.mp3");
    QFile::copy(QStringLiteral(TESSEL_TEST_DATA "/tagged.mp3"), living);
    QFile source(QStringLiteral(TESSEL_ITUNES_DATA "/Library.xml"));
    source.open(QIODevice::ReadOnly);
    QString text = QString::fromUtf8(source.readAll());
    text.replace("__LIVING_TRACK__", QUrl::fromLocalFile(living).toString());
    QFile exported(home.filePath("Library.xml"));
    exported.open(QIODevice::WriteOnly);
    exported.write(text.toUtf8());
    exported.close();

    window.openLibrary();
    // The counts come in a message box over the library window: keep a picture, then close it.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->grab().save(out.filePath("import-counts.png"));
            modal->close();
        }
    });
    answer.start(300);
    QObject::connect(&delegate, &AppDelegate::runEnded, [&] {
        QTimer::singleShot(300, [&] {
            gui::LibraryWindow* library = window.libraryWindow();
            library->grab().save(out.filePath("library-imported.png"));
            // The file column, with the dead tracks' last known paths.
            QScrollBar* across = library->trackTable()->horizontalScrollBar();
            across->setValue(across->maximum());
            settle(200);
            library->grab().save(out.filePath("library-imported-files.png"));
            QApplication::quit();
        });
    });
    QTimer::singleShot(300, [&] { delegate.performImportLibrary(exported.fileName()); });
    return QApplication::exec();
}
