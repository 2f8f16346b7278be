// The progress sheet over a window while a run works in the background: the run's title, its
// detail line and a bar, which fills as the run counts through its items and is a busy indicator
// while their number is unknown. A run that can stop (a tool run, filling the library) gets a
// Cancel button, which Escape and the sheet's close button press too; the close button never
// takes the sheet away from a run that cannot stop.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tessel {
class AppDelegate;
}

namespace tessel::gui {

class ProgressSheet : public QDialog {
    Q_OBJECT

  public:
    ProgressSheet(AppDelegate& delegate, QWidget* parent);

    /// Shows the sheet over host (its own parent when null).
    void present(QWidget* host = nullptr);
    void dismiss();

    QLabel* titleLine() const { return title_; }
    QLabel* detailLine() const { return detail_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* bar() const { return indicator_; }
    /// The full detail text (the line itself may be shortened to fit).
    QString detailText() const { return detailText_; }

    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showTitle();
    void showDetail();
    void cancelRun();

    AppDelegate& delegate_;
    QLabel* title_;
    QLabel* detail_;
    QProgressBar* indicator_;
    QPushButton* cancel_;
    QString detailText_;
};

}  // namespace tessel::gui
