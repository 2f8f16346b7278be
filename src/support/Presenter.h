// How the widget-free core shows things to the user. The desktop app implements it with
// dialogs and sheets, the command line with the terminal, the tests with a scripted fake.
// Every method is called on the main thread.
#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace tessel {

struct AlertRequest {
    QString title;
    QString message;
    QString defaultButton = QStringLiteral("OK");
    QString alternateButton;  // empty: no such button
    QString otherButton;      // empty: no such button
};

/// An alert with the title, the message and the single button "OK".
inline AlertRequest okAlert(const QString& title, const QString& message) {
    AlertRequest request;
    request.title = title;
    request.message = message;
    return request;
}

/// Which button closed an alert: 1 = default, 0 = alternate, -1 = other.
enum AlertAnswer : int { kAlertDefault = 1, kAlertAlternate = 0, kAlertOther = -1 };

class Presenter {
  public:
    virtual ~Presenter() = default;

    /// Brings the application to the front and shows a modal alert; returns the AlertAnswer.
    virtual int presentAlert(const AlertRequest& request) = 0;

    /// Commits text typed into a field but not yet committed, so a tool sees it.
    virtual void endEditing() = 0;

    /// The progress sheet; its title and detail line are the controller's progress texts.
    virtual void showProgressSheet() = 0;
    virtual void hideProgressSheet() = 0;

    /// The change panel over the controller's change list, with its info line and, under it, a
    /// note on what the tool passed over (empty when nothing); the old and new value columns
    /// are hidden for membership lists.
    virtual void showChangePanel(const QString& infoLine, const QString& noteLine,
                                 bool valueColumnsVisible) = 0;
    virtual void hideChangePanel() = 0;

    /// Hands a mail or web address to the desktop, which opens it with its default program;
    /// nothing is reported when none does. A Presenter that cannot open addresses drops them.
    virtual void openURL(const QUrl& url) { Q_UNUSED(url); }

    /// The save dialog: asks where to save a file of fileType ("txt"), proposing the name
    /// proposedName; the chosen path, or nothing when the user cancels. A Presenter that
    /// cannot ask cancels.
    virtual std::optional<QString> chooseSaveFile(const QString& proposedName,
                                                  const QString& fileType) {
        Q_UNUSED(proposedName);
        Q_UNUSED(fileType);
        return std::nullopt;
    }
    /// A modal folder chooser (folders only), titled, starting at current: the folder chosen,
    /// or absent when the user cancelled. A Presenter that cannot ask takes it as cancelled.
    virtual std::optional<QUrl> chooseFolder(const QString& title, const QUrl& current) {
        Q_UNUSED(title);
        Q_UNUSED(current);
        return std::nullopt;
    }
};

}  // namespace tessel
