// The desktop app's Presenter: alerts as message boxes, the progress sheet, the change panel
// and the end of editing, all on the main window once it is set.
#pragma once

#include "support/Presenter.h"

#include <QPointer>

namespace tessel::gui {

class MainWindow;

class GuiPresenter : public Presenter {
  public:
    /// The window the sheets and alerts belong to; alerts before it exists stand alone.
    void setWindow(MainWindow* window) { window_ = window; }

    int presentAlert(const AlertRequest& request) override;
    void endEditing() override;
    void showProgressSheet() override;
    void hideProgressSheet() override;
    void showChangePanel(const QString& infoLine, const QString& noteLine,
                         bool valueColumnsVisible) override;
    void hideChangePanel() override;
    /// Through the desktop (QDesktopServices): the mail program, the browser, the software
    /// centre.
    void openURL(const QUrl& url) override;
    /// A save dialog as a sheet on the window, with the file type's extension shown.
    std::optional<QString> chooseSaveFile(const QString& proposedName,
                                          const QString& fileType) override;
    /// The main window's folder chooser (a folder dialog over it).
    std::optional<QUrl> chooseFolder(const QString& title, const QUrl& current) override;

  private:
    QPointer<MainWindow> window_;
};

}  // namespace tessel::gui
