// tessel: the desktop app of Tessel.
#include "FatalErrorDialog.h"
#include "FocusRingStyle.h"
#include "GuiPresenter.h"
#include "Icons.h"
#include "MainWindow.h"
#include "TesselConfig.h"
#include "app/AppDelegate.h"
#include "itunes/MusicLibrary.h"
#include "support/GuardedApplication.h"
#include "support/VersionLine.h"
#include "tags/SafeSaveStream.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstring>

namespace {

int runWindow() {
    tessel::gui::GuiPresenter presenter;
    const QString library = tessel::itunes::libraryPath();
    tessel::AppDelegate delegate(tessel::itunes::libraryProvider(library), presenter);
    delegate.applicationDidFinishLaunching();

    tessel::gui::MainWindow window(delegate);
    presenter.setWindow(&window);
    window.restoreRemembered();
    window.show();
    window.startLaunchHint();
    return QApplication::exec();
}

// Answered before any window system is needed, so it works on a terminal without a display.
bool printedVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", qPrintable(tessel::versionLine(QStringLiteral("tessel"))));
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (printedVersion(argc, argv))
        return 0;
    tessel::GuardedApplication<QApplication> app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tessel"));
    QApplication::setApplicationName(QStringLiteral("Tessel"));
    // A save that a kill interrupted left a copy beside its file; the file itself is whole.
    tessel::filetags::removeUnfinishedSaves();
    tessel::gui::FocusRingStyle::install();
    QApplication::setWindowIcon(tessel::gui::applicationIcon());
    // Ties the windows to the installed desktop entry (its icon and name in the shell).
    QGuiApplication::setDesktopFileName(QString::fromLatin1(tessel::config::kAppId));
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
