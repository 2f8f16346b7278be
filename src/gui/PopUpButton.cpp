#include "PopUpButton.h"

namespace tessel::gui {

PopUpButton::PopUpButton(int tag, QWidget* parent) : QComboBox(parent), tag_(tag) {
    // Long playlist names must not widen the window.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(16);
}

void PopUpButton::showPopup() {
    emit willPopUp(tag_);
    QComboBox::showPopup();
}

}  // namespace tessel::gui
