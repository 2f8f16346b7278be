#include "PopUpButton.h"

namespace tessel::gui {

PopUpButton::PopUpButton(int tag, QWidget* parent) : QComboBox(parent), tag_(tag) {
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void PopUpButton::showPopup() {
    emit willPopUp(tag_);
    QComboBox::showPopup();
}

}  // namespace tessel::gui
