// The help sheet of a tool page: "<tool> Tool Help", a line of guidance and the tool's help
// document, opened at its beginning every time.
#pragma once

#include <QDialog>

class QLabel;
class QTextBrowser;

namespace tessel::gui {

class HelpSheet : public QDialog {
    Q_OBJECT

  public:
    explicit HelpSheet(QWidget* parent);

    /// Opens the sheet with the help of the tool of page index (0-5).
    void present(int index);

    QLabel* titleLine() const { return title_; }
    QLabel* infoLine() const { return info_; }
    QTextBrowser* document() const { return document_; }

  private:
    QLabel* title_;
    QLabel* info_;
    QTextBrowser* document_;
};

}  // namespace tessel::gui
