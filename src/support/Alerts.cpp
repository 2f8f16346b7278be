#include "Alerts.h"

#include "Tasks.h"
#include "TesselLib.h"

#include <QDebug>

namespace tessel {

int runAlert(const QString& title, const QString& message, const QString& defaultButton,
             const QString& alternateButton, const QString& otherButton) {
    const AlertRequest request{title, message, defaultButton, alternateButton, otherButton};
    int answer = kAlertDefault;
    runOnMainBlocking([&] {
        Presenter* presenter = TesselLib::shared().presenter();
        if (presenter) {
            answer = presenter->presentAlert(request);
        } else {
            // Nobody to ask: the alert goes to the log and the default button is taken.
            qWarning().noquote() << title + QStringLiteral(": ") + message;
        }
    });
    return answer;
}

int runAppTitledAlert(const QString& message, const QString& defaultButton,
                      const QString& alternateButton, const QString& otherButton) {
    return runAlert(TesselLib::shared().appName(), message, defaultButton, alternateButton,
                    otherButton);
}

}  // namespace tessel
