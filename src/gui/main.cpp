// tessel: the desktop app of Tessel.
#include "GuiPresenter.h"
#include "Icons.h"
#include "MainWindow.h"
#include "app/AppDelegate.h"
#include "itunes/MusicLibrary.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessel"));
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    QApplication::setWindowIcon(tessel::gui::applicationIcon());

    tessel::gui::GuiPresenter presenter;
    const QString library = tessel::itunes::libraryPath();
    tessel::AppDelegate delegate(tessel::itunes::libraryProvider(library), presenter);
    delegate.applicationDidFinishLaunching();

    tessel::gui::MainWindow window(delegate);
    presenter.setWindow(&window);
    window.show();
    window.startLaunchHint();
    return QApplication::exec();
}
