#include "GuiPresenter.h"

#include "AlertBox.h"
#include "ChangePanelDialog.h"
#include "MainWindow.h"
#include "ProgressSheet.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace tessel::gui {

int GuiPresenter::presentAlert(const AlertRequest& request) {
    QWidget* host = window_ ? window_->sheetHost() : nullptr;
    if (host) {
        host->raise();
        host->activateWindow();
    }
    return runAlertBox(host, request);
}

void GuiPresenter::endEditing() {
    if (window_)
        window_->endEditing();
}

void GuiPresenter::showProgressSheet() {
    if (window_)
        window_->progressSheet()->present(window_->sheetHost());
}

void GuiPresenter::hideProgressSheet() {
    if (window_)
        window_->progressSheet()->dismiss();
}

void GuiPresenter::showChangePanel(const QString& infoLine, const QString& noteLine,
                                   bool valueColumnsVisible) {
    if (window_)
        window_->changePanel()->present(infoLine, noteLine, valueColumnsVisible);
}

void GuiPresenter::hideChangePanel() {
    if (window_)
        window_->changePanel()->dismiss();
}

void GuiPresenter::openURL(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

std::optional<QString> GuiPresenter::chooseSaveFile(const QString& proposedName,
                                                    const QString& fileType) {
    QFileDialog dialog(window_, QObject::tr("Export Playlist"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setNameFilter(QStringLiteral("%1 (*.%2)").arg(fileType.toUpper(), fileType));
    dialog.setDefaultSuffix(fileType);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName + u'.' + fileType);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QUrl> GuiPresenter::chooseFolder(const QString& title, const QUrl& current) {
    const QUrl folder = window_ ? window_->chooseFolder(current)
                                : QFileDialog::getExistingDirectoryUrl(nullptr, title, current);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

}  // namespace tessel::gui
