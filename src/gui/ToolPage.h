// A tool page of the main window, top to bottom: the track source, the tool's options in a
// form, and a row with the help button in the lower-left corner and the start button on the
// right. Return starts the tool wherever the focus is on the page. A page that holds several
// small tools gives each its own section with its own start button instead; Return then
// starts the tool whose section holds the focus.
#pragma once

#include <QList>
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
    /// The page-wide start button; null on a page of sections.
    QPushButton* startButton() const { return start_; }
    QToolButton* helpButton() const { return help_; }

  protected:
    PageContext& context() const { return context_; }
    /// The form the page puts its options in.
    QFormLayout* form() const { return form_; }
    /// A pop-up that announces its opening to the controller with its tag.
    PopUpButton* addPopUp(int tag);
    /// Binds the visibility of a row of form (its field and its label) like bindVisible.
    void bindRowVisible(QFormLayout* form, QWidget* field, const QString& keyPath,
                        const QString& transformerName);

    /// Ends the page with the page-wide start button: its title and what it starts. Called
    /// once the options are in the form.
    void setStart(const QString& title, std::function<void()> start);
    /// A start button for one section of a page of several tools.
    QPushButton* sectionStart(QWidget* section, const QString& title, std::function<void()> start);
    /// Ends a page of sections: the help button alone on the bottom row.
    void finishSections();

    void keyPressEvent(QKeyEvent* event) override;

  private:
    void addBottomRow(QPushButton* start);
    /// The button Return presses: the start of the section holding the focus, else the page's.
    QPushButton* defaultButton() const;

    struct Section {
        QWidget* section;
        QPushButton* start;
    };

    PageContext& context_;
    TrackSourceBox* source_;
    QFormLayout* form_;
    QToolButton* help_;
    QPushButton* start_ = nullptr;
    QList<Section> sections_;
};

}  // namespace tessel::gui
