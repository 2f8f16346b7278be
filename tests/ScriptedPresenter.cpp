#include "ScriptedPresenter.h"

#include <QStringList>

namespace tessel::test {

int ScriptedPresenter::presentAlert(const AlertRequest& request) {
    alerts.append(request);
    if (onAlert)
        onAlert(request);
    return answers.isEmpty() ? kAlertDefault : answers.takeFirst();
}

void ScriptedPresenter::openURL(const QUrl& url) {
    openedURLs.append(url);
}

std::optional<QString> ScriptedPresenter::chooseSaveFile(const QString& proposedName,
                                                         const QString& fileType) {
    saveDialogs.append(proposedName + u'.' + fileType);
    return savePath;
}

void ScriptedPresenter::endEditing() {
    ++endEditingCalls;
}

void ScriptedPresenter::showProgressSheet() {
    ++progressShown;
    if (onProgressSheet)
        onProgressSheet();
}

void ScriptedPresenter::hideProgressSheet() {
    ++progressHidden;
}

void ScriptedPresenter::showChangePanel(const QString& infoLine, const QString& noteLine,
                                        bool valueColumnsVisible) {
    changePanels.append({infoLine, noteLine, valueColumnsVisible});
    if (onChangePanel)
        onChangePanel();
}

void ScriptedPresenter::hideChangePanel() {
    ++changePanelsHidden;
}

QStringList ScriptedPresenter::alertLines() const {
    QStringList lines;
    for (const AlertRequest& alert : alerts)
        lines.append(alert.title + QStringLiteral(": ") + alert.message);
    return lines;
}

QStringList ScriptedPresenter::alertTitles() const {
    QStringList titles;
    for (const AlertRequest& alert : alerts)
        titles.append(alert.title);
    return titles;
}

std::optional<QUrl> ScriptedPresenter::chooseFolder(const QString& title, const QUrl&) {
    folderRequests.append(title);
    return folderAnswer;
}

}  // namespace tessel::test
