#include "TerminalPresenter.h"

#include "DesktopOpener.h"

#include <QDebug>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

#include <unistd.h>

namespace tessel::cli {

namespace {

QTextStream& errorStream() {
    static QTextStream stream(stderr);
    return stream;
}

}  // namespace

TerminalPresenter::TerminalPresenter(int answer, bool echoAlerts)
    : answer_(answer), echoAlerts_(echoAlerts), terminal_(isatty(STDERR_FILENO) == 1) {}

TerminalPresenter::~TerminalPresenter() {
    clearStatusLine();
}

int TerminalPresenter::presentAlert(const AlertRequest& request) {
    clearStatusLine();
    // The buttons as offered, each with the answer it gives.
    QList<QPair<QString, int>> offered{{request.defaultButton, kAlertDefault}};
    if (!request.alternateButton.isEmpty())
        offered.append({request.alternateButton, kAlertAlternate});
    if (!request.otherButton.isEmpty())
        offered.append({request.otherButton, kAlertOther});
    const auto& taken =
        answer_ >= 1 && answer_ <= offered.size() ? offered.at(answer_ - 1) : offered.first();
    AlertRecord record{request, {}, taken.first};
    for (const auto& button : offered)
        record.buttons.append(button.first);
    alerts_.append(record);
    if (echoAlerts_ && (resultTitle_.isEmpty() || request.title != resultTitle_))
        errorStream() << request.title << ": " << request.message << Qt::endl;
    return taken.second;
}

void TerminalPresenter::showProgressSheet() {
    sheetUp_ = true;
}

void TerminalPresenter::hideProgressSheet() {
    sheetUp_ = false;
    clearStatusLine();
}

void TerminalPresenter::showChangePanel(const QString& infoLine, const QString& noteLine, bool) {
    infoLine_ = infoLine;
    noteLine_ = noteLine;
}

void TerminalPresenter::openURL(const QUrl& url) {
    if (!openWithDesktop(url))
        qWarning().noquote() << "No program could be started to open" << url.toString();
}

std::optional<QString> TerminalPresenter::chooseSaveFile(const QString&, const QString&) {
    return saveTarget_.isEmpty() ? std::nullopt : std::optional(saveTarget_);
}

void TerminalPresenter::showProgress(const QString& title, const QString& detail) {
    if (!terminal_ || !sheetUp_)
        return;
    // One line, rewritten in place; cut to a width that fits common terminals.
    const QString line = detail.isEmpty() ? title : title + QStringLiteral(" ") + detail;
    errorStream() << "\r\x1b[K" << line.left(100) << Qt::flush;
    statusShown_ = true;
}

void TerminalPresenter::clearStatusLine() {
    if (!statusShown_)
        return;
    errorStream() << "\r\x1b[K" << Qt::flush;
    statusShown_ = false;
}

std::optional<QUrl> TerminalPresenter::chooseFolder(const QString&, const QUrl&) {
    if (folderAnswer_.isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(QFileInfo(folderAnswer_).absoluteFilePath());
}

}  // namespace tessel::cli
