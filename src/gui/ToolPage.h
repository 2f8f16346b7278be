// A tool page of the main window, top to bottom: the track source, the tool's options in a
// form, and a row with the help button in the lower-left corner and the start button on the
// right. Return starts the tool wherever the focus is on the page.
#pragma once

#include <QWidget>

#include <functional>

class QFormLayout;
class QPushButton;
class QToolButton;

namespace tessel::gui {

class PopUpButton;
class TrackSourceBox;
struct PageContext;

class ToolPage : public QWidget {
    Q_OBJECT

  public:
    ToolPage(PageContext& context, QWidget* parent = nullptr);

    TrackSourceBox* trackSource() const { return source_; }
    QPushButton* startButton() const { return start_; }
    QToolButton* helpButton() const { return help_; }

  protected:
    PageContext& context() const { return context_; }
    /// The form the page puts its options in.
    QFormLayout* form() const { return form_; }
    /// A pop-up that announces its opening to the controller with its tag.
    PopUpButton* addPopUp(int tag);
    /// The start button's title and what it starts; called once the options are in the form.
    void setStart(const QString& title, std::function<void()> start);

    void keyPressEvent(QKeyEvent* event) override;

  private:
    QWidget* bottomRow();

    PageContext& context_;
    TrackSourceBox* source_;
    QFormLayout* form_;
    QToolButton* help_;
    QPushButton* start_;
};

}  // namespace tessel::gui
