// The Search & Replace page: the tag, the search and replacement texts, the case and
// regular-expression switches and the preset menu.
#pragma once

#include "ToolPage.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tessel::gui {

class SearchReplacePage : public ToolPage {
    Q_OBJECT

  public:
    SearchReplacePage(PageContext& context, QWidget* parent = nullptr);

    PopUpButton* tagPopUp() const { return tag_; }
    QLineEdit* searchField() const { return search_; }
    QLineEdit* replaceField() const { return replace_; }
    QCheckBox* ignoreCaseBox() const { return ignoreCase_; }
    QCheckBox* regularBox() const { return regular_; }
    /// The preset menu; its actions are in preset order.
    QMenu* presetMenu() const { return presets_; }
    QPushButton* presetButton() const { return presetButton_; }

  private:
    void addRows();
    QPushButton* makePresetButton();
    void bind();

    PopUpButton* tag_;
    QLineEdit* search_;
    QLineEdit* replace_;
    QCheckBox* ignoreCase_;
    QCheckBox* regular_;
    QMenu* presets_;
    QPushButton* presetButton_;
};

}  // namespace tessel::gui
