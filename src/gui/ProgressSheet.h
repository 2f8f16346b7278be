// The progress sheet over the main window while a run works in the background: the run's
// title, its detail line and a busy indicator. A run cannot be stopped from it, so neither
// Escape nor the window's close button takes it away.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace tessel {
class AppDelegate;
}

namespace tessel::gui {

class ProgressSheet : public QDialog {
    Q_OBJECT

  public:
    ProgressSheet(AppDelegate& delegate, QWidget* parent);

    void present();
    void dismiss();

    QLabel* titleLine() const { return title_; }
    QLabel* detailLine() const { return detail_; }
    /// The full detail text (the line itself may be shortened to fit).
    QString detailText() const { return detailText_; }

    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showTitle();
    void showDetail();

    AppDelegate& delegate_;
    QLabel* title_;
    QLabel* detail_;
    QProgressBar* indicator_;
    QString detailText_;
};

}  // namespace tessel::gui
