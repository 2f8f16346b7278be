#include "GuiPresenter.h"

#include "AlertBox.h"
#include "ChangePanelDialog.h"
#include "MainWindow.h"
#include "ProgressSheet.h"

#include <QDesktopServices>

namespace tessel::gui {

int GuiPresenter::presentAlert(const AlertRequest& request) {
    if (window_) {
        window_->raise();
        window_->activateWindow();
    }
    return runAlertBox(window_, request);
}

void GuiPresenter::endEditing() {
    if (window_)
        window_->endEditing();
}

void GuiPresenter::showProgressSheet() {
    if (window_)
        window_->progressSheet()->present();
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

}  // namespace tessel::gui
