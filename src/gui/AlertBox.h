// Alerts as modal message boxes: the title in bold, the message below it, up to three buttons.
#pragma once

#include "support/Presenter.h"

class QWidget;

namespace tessel::gui {

/// Shows the alert over parent (or on its own without one) until a button is pressed and
/// returns the AlertAnswer of that button. Return presses the default button; Escape presses
/// a "Cancel" button, or the only button, and does nothing otherwise.
int runAlertBox(QWidget* parent, const AlertRequest& request);

}  // namespace tessel::gui
