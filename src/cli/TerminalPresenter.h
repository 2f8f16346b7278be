// The Presenter of tessel-cli: alerts are answered from the command line (and echoed to
// standard error as "Title: message" unless JSON output collects them), the change panel
// becomes the printed preview, and the progress sheet a status line on standard error when
// that is a terminal (a log is not filled with a tool's progress).
#pragma once

#include "StatusLine.h"
#include "support/Presenter.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tessel::cli {

/// An alert as it was shown and answered.
struct AlertRecord {
    AlertRequest request;
    QStringList buttons;  // the titles offered, default first
    QString answer;       // the title of the button taken
};

class TerminalPresenter : public Presenter {
  public:
    /// answer: the position (from 1, default first) of the button to take for alerts that
    /// offer several; a position the alert does not offer takes the default.
    TerminalPresenter(int answer, bool echoAlerts);
    ~TerminalPresenter() override;

    int presentAlert(const AlertRequest& request) override;
    void endEditing() override {}
    void showProgressSheet() override;
    void hideProgressSheet() override;
    void showChangePanel(const QString& infoLine, const QString& noteLine,
                         bool valueColumnsVisible) override;
    void hideChangePanel() override {}
    /// With the desktop's opener (xdg-open); an address it cannot take is logged.
    void openURL(const QUrl& url) override;
    /// The save dialog answered from the command line: the --save-to file; cancels without one.
    std::optional<QString> chooseSaveFile(const QString& proposedName,
                                          const QString& fileType) override;
    void setSaveTarget(const QString& path) { saveTarget_ = path; }
    const QString& saveTarget() const { return saveTarget_; }
    /// Answered by the folder given with setFolderAnswer (--choose); none counts as cancelled.
    std::optional<QUrl> chooseFolder(const QString& title, const QUrl& current) override;
    void setFolderAnswer(const QString& folder) { folderAnswer_ = folder; }
    /// Alerts of this title carry the command's result, printed on standard output: they are
    /// not echoed on standard error as well.
    void setResultTitle(const QString& title) { resultTitle_ = title; }

    /// The progress texts changed: rewrites the status line while the sheet is up.
    void showProgress(const QString& title, const QString& detail);

    const QList<AlertRecord>& alerts() const { return alerts_; }
    /// The info line of the last change panel shown, and the note under it.
    const QString& infoLine() const { return infoLine_; }
    const QString& noteLine() const { return noteLine_; }

  private:
    int answer_;
    bool echoAlerts_;
    StatusLine status_;
    bool sheetUp_ = false;
    QList<AlertRecord> alerts_;
    QString infoLine_;
    QString noteLine_;
    QString saveTarget_;
    QString folderAnswer_;
    QString resultTitle_;
};

}  // namespace tessel::cli
