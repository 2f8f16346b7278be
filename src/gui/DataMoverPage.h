// The Data Mover page: swap two tags, or copy a portion of the source tag into the target tag
// in one of three placements. The copy settings are live only for a copy, and each shows only
// for the portion or placement it serves.
#pragma once

#include "ToolPage.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace tessel::gui {

class DataMoverPage : public ToolPage {
    Q_OBJECT

  public:
    DataMoverPage(PageContext& context, QWidget* parent = nullptr);

    PopUpButton* actionPopUp() const { return action_; }
    PopUpButton* sourcePopUp() const { return source_; }
    PopUpButton* targetPopUp() const { return target_; }
    QGroupBox* copyBox() const { return copy_; }
    PopUpButton* portionPopUp() const { return portion_; }
    QLineEdit* lengthField() const { return length_; }
    QLineEdit* expressionField() const { return expression_; }
    QCheckBox* ignoreCaseBox() const { return ignoreCase_; }
    PopUpButton* placementPopUp() const { return placement_; }
    QLineEdit* delimiterField() const { return delimiter_; }

  private:
    QGroupBox* copySettings();
    void bind();

    PopUpButton* action_;
    PopUpButton* source_;
    PopUpButton* target_;
    QGroupBox* copy_;
    QFormLayout* copyForm_;
    PopUpButton* portion_;
    QLineEdit* length_;
    QLineEdit* expression_;
    QCheckBox* ignoreCase_;
    PopUpButton* placement_;
    QLineEdit* delimiter_;
};

}  // namespace tessel::gui
