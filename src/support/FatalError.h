// The end of the road for an error nobody caught: a report file in the crash-reports folder,
// the fatal-error dialog (which may compose a problem-report mail to support), and the end of
// the process with exit status 1.
#pragma once

#include "Presenter.h"
#include "SupportLinks.h"

#include <QString>
#include <QUrl>

#include <functional>

namespace tessel {

/// How the dialog is shown and the problem report opened. The desktop app sets its own at
/// start-up; without one the dialog is printed on standard error and answered "Quit".
struct FatalErrorFace {
    std::function<int(const AlertRequest&)> showAlert;  // returns the AlertAnswer
    std::function<void(const QUrl&)> openURL;
};

/// Main thread, before the event loop runs: the face every fatal error from now on uses.
void setFatalErrorFace(FatalErrorFace face);

/// The detail as the dialog shows it: up to 400 characters whole; longer ones cut to their
/// first 400 followed by a note that the rest was left out.
QString shownDetail(const QString& detail);

/// The fatal-error dialog for message and detail.
AlertRequest fatalErrorAlert(const QString& message, const QString& detail);

/// Shows the dialog through face and, on "Send to support", opens the problem report with the
/// whole detail. Returns the AlertAnswer; the caller ends the process.
int runFatalErrorDialog(const QString& message, const QString& detail,
                        const SupportContext& context, const FatalErrorFace& face);

/// Any thread: writes the report file, shows the dialog on the main thread (a worker waits
/// until it has been shown; a main thread that does not take it up within seconds, being
/// blocked itself, gets it printed instead) and ends the process with exit status 1.
/// Never returns.
[[noreturn]] void reportFatalError(const QString& message, const QString& detail);

}  // namespace tessel
