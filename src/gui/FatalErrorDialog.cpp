#include "FatalErrorDialog.h"

#include "AlertBox.h"
#include "support/FatalError.h"

#include <QApplication>
#include <QDesktopServices>

namespace tessel::gui {

void installFatalErrorDialog() {
    setFatalErrorFace(
        {[](const AlertRequest& alert) { return runAlertBox(QApplication::activeWindow(), alert); },
         [](const QUrl& url) { QDesktopServices::openUrl(url); }});
}

}  // namespace tessel::gui
