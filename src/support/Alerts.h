// Modal alerts through the shared Presenter, from any thread: a worker blocks until the main
// thread has shown the alert and the user has answered it.
#pragma once

#include "Presenter.h"

namespace tessel {

/// Shows an alert with up to three buttons (an empty title means no such button) and returns
/// 1 for the default, 0 for the alternate, -1 for the other button.
int runAlert(const QString& title, const QString& message,
             const QString& defaultButton = QStringLiteral("OK"),
             const QString& alternateButton = {}, const QString& otherButton = {});

/// runAlert titled with the application's name.
int runAppTitledAlert(const QString& message, const QString& defaultButton = QStringLiteral("OK"),
                      const QString& alternateButton = {}, const QString& otherButton = {});

}  // namespace tessel
