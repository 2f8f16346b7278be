#include "TerminalPresenter.h"

#include "DesktopOpener.h"

#include <QDebug>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace tessel::cli {

namespace {

QTextStream& errorStream() {
    static QTextStream stream(stderr);
    return stream;
}

}  // namespace

TerminalPresenter::TerminalPresenter(int answer, bool echoAlerts)
    : answer_(answer),
      echoAlerts_(echoAlerts),
      status_(errorStream(),
              StatusLine::modeFor(errorStream()) == StatusLine::Mode::InPlace
                  ? StatusLine::Mode::InPlace
                  : StatusLine::Mode::Quiet,
              StatusLine::columnsOf(errorStream())) {}

TerminalPresenter::~TerminalPresenter() = default;

int TerminalPresenter::presentAlert(const AlertRequest& request) {
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
        status_.print(request.title + QStringLiteral(": ") + request.message + u'\n');
    return taken.second;
}

void TerminalPresenter::showProgressSheet() {
    sheetUp_ = true;
}

void TerminalPresenter::hideProgressSheet() {
    sheetUp_ = false;
    status_.finish();
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
    if (sheetUp_)
        status_.show(detail.isEmpty() ? title : title + QStringLiteral(" ") + detail);
}

std::optional<QUrl> TerminalPresenter::chooseFolder(const QString&, const QUrl&) {
    if (folderAnswer_.isEmpty())
        return std::nullopt;
    return QUrl::fromLocalFile(QFileInfo(folderAnswer_).absoluteFilePath());
}

}  // namespace tessel::cli
