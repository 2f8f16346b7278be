// A Presenter for tests: records everything it is asked to show and answers alerts from a
// script (the default button when the script is empty).
#pragma once

#include "support/Presenter.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QUrl>

#include <functional>

namespace tessel::test {

class ScriptedPresenter : public Presenter {
  public:
    struct ChangePanel {
        QString infoLine;
        QString noteLine;
        bool valueColumnsVisible = true;
    };

    int presentAlert(const AlertRequest& request) override;
    void endEditing() override;
    void showProgressSheet() override;
    void hideProgressSheet() override;
    void showChangePanel(const QString& infoLine, const QString& noteLine,
                         bool valueColumnsVisible) override;
    void hideChangePanel() override;
    void openURL(const QUrl& url) override;
    /// Records the dialog's proposal ("name.type") and answers with savePath.
    std::optional<QString> chooseSaveFile(const QString& proposedName,
                                          const QString& fileType) override;
    std::optional<QUrl> chooseFolder(const QString& title, const QUrl& current) override;

    /// Answers for the next alerts, in order.
    QList<int> answers;
    /// Called when an alert is shown, after it was recorded.
    std::function<void(const AlertRequest&)> onAlert;
    /// Called when the change panel opens.
    std::function<void()> onChangePanel;
    /// Called when the progress sheet opens, before the run's work starts.
    std::function<void()> onProgressSheet;

    QList<AlertRequest> alerts;
    QList<ChangePanel> changePanels;
    int endEditingCalls = 0;
    int progressShown = 0;
    int progressHidden = 0;
    int changePanelsHidden = 0;
    QList<QUrl> openedURLs;
    /// The save dialog's answer; absent: the user cancels.
    std::optional<QString> savePath;
    QStringList saveDialogs;
    /// The folder chooser's answer (absent: cancelled) and the titles it was asked with.
    std::optional<QUrl> folderAnswer;
    QStringList folderRequests;

    /// "Title: message" of every alert, for readable assertions.
    QStringList alertLines() const;
    QStringList alertTitles() const;
};

}  // namespace tessel::test
