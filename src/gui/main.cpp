// tessel: the desktop app of Tessel.
#include "FatalErrorDialog.h"
#include "GuiPresenter.h"
#include "Icons.h"
#include "MainWindow.h"
#include "app/AppDelegate.h"
#include "itunes/MusicLibrary.h"
#include "support/GuardedApplication.h"
#include "tags/SafeSaveStream.h"

#include <QApplication>
#include <QMessageBox>

namespace {

int runWindow() {
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

}  // namespace

int main(int argc, char** argv) {
    tessel::GuardedApplication<QApplication> app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessel"));
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    // A save that a kill interrupted left a copy beside its file; the file itself is whole.
    tessel::filetags::removeUnfinishedSaves();
    QApplication::setWindowIcon(tessel::gui::applicationIcon());
    tessel::gui::installFatalErrorDialog();
    try {
        return runWindow();
    } catch (const std::exception& error) {
        // Start-up could not finish (the support folder or the settings, say): say why.
        QMessageBox::critical(
            nullptr, QStringLiteral("Tessel"),
            QApplication::tr("Tessel could not start: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
}
