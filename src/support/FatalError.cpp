#include "FatalError.h"

#include "CrashReports.h"
#include "FormattedString.h"
#include "Tasks.h"
#include "TesselLib.h"
#include "foundation/StringHelpers.h"

#include <QDebug>
#include <QMutex>
#include <QTextStream>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

namespace tessel {

namespace {

constexpr qsizetype kShownDetailLength = 400;
// How long a worker waits for the main thread to take up its dialog.
constexpr int kMainThreadPatienceMs = 5000;

QMutex faceMutex;
FatalErrorFace currentFace;

// The first fatal error owns the dialog; any later one only leaves its report.
std::atomic<bool> dialogTaken{false};

FatalErrorFace face() {
    QMutexLocker lock(&faceMutex);
    return currentFace;
}

int printAlert(const AlertRequest& alert) {
    QTextStream(stderr) << alert.title << ": " << alert.message << Qt::endl;
    return kAlertAlternate;
}

// A TesselLib of its own when the error came before start-up made one (or after it went).
SupportContext currentContext() {
    if (TesselLib::exists())
        return TesselLib::shared().supportContext(false);
    TesselLib fallback(std::make_unique<MemorySettingsStore>());
    return fallback.supportContext(false);
}

QString writeReport(const SupportContext& context, const QString& message, const QString& detail) {
    const CrashReport report{
        context.appName,   context.version, context.build, context.machineModel,
        context.osVersion, message,         detail,        QDateTime::currentDateTime()};
    const QString path = writeCrashReport(TesselLib::crashReportsPath(), report);
    if (path.isEmpty())
        qWarning().noquote() << "The report of a fatal error could not be written.";
    else
        qWarning().noquote() << "A fatal error was reported in" << path;
    return path;
}

[[noreturn]] void waitForever() {
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

[[noreturn]] void endProcess() {
    std::fflush(stdout);
    std::fflush(stderr);
    // No clean-up: the program is in a state nobody planned for, and other threads still run.
    std::_Exit(1);
}

[[noreturn]] void showAndEnd(const QString& message, const QString& detail,
                             const SupportContext& context) {
    runFatalErrorDialog(message, detail, context, face());
    endProcess();
}

}  // namespace

void setFatalErrorFace(FatalErrorFace face) {
    QMutexLocker lock(&faceMutex);
    currentFace = std::move(face);
}

QString shownDetail(const QString& detail) {
    if (detail.size() <= kShownDetailLength)
        return detail;
    return formattedString(QStringLiteral("%@  …\n(Remaining message omitted)"),
                           clamp(detail, kShownDetailLength));
}

AlertRequest fatalErrorAlert(const QString& message, const QString& detail) {
    AlertRequest alert;
    alert.title = QStringLiteral("Fatal Error");
    alert.message = formattedString(
        QStringLiteral("%@\n\n You can contact our support with detailed information so that "
                       "we can fix this problem.\n\nInformation: %@"),
        message, shownDetail(detail));
    alert.defaultButton = QStringLiteral("Send to support");
    alert.alternateButton = QStringLiteral("Quit");
    return alert;
}

int runFatalErrorDialog(const QString& message, const QString& detail,
                        const SupportContext& context, const FatalErrorFace& face) {
    const AlertRequest alert = fatalErrorAlert(message, detail);
    const int answer = face.showAlert ? face.showAlert(alert) : printAlert(alert);
    if (answer == kAlertDefault && face.openURL)
        face.openURL(problemReportURL(context, message, detail));
    return answer;
}

void reportFatalError(const QString& message, const QString& detail) {
    // The mail counts the reports of earlier failures, so the context is read first.
    const SupportContext context = currentContext();
    writeReport(context, message, detail);
    if (dialogTaken.exchange(true)) {
        // Another fatal error has the dialog up: on the main thread this one ends the process
        // now; a worker waits for that dialog, which ends it.
        if (isMainThread())
            endProcess();
        waitForever();
    }
    if (isMainThread())
        showAndEnd(message, detail, context);
    auto started = std::make_shared<std::atomic<bool>>(false);
    runOnMainAsync([=] {
        started->store(true);
        showAndEnd(message, detail, context);
    });
    // A main thread that is itself waiting (for this very worker, say) never shows it: the
    // dialog is printed instead, and the process ends all the same.
    for (int waited = 0; waited < kMainThreadPatienceMs && !started->load(); waited += 50)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (started->load())
        waitForever();
    printAlert(fatalErrorAlert(message, detail));
    endProcess();
}

}  // namespace tessel
