// The desktop app's fatal-error dialog: a message box over the active window, and the problem
// report opened by the desktop's mail program.
#pragma once

namespace tessel::gui {

/// Makes every fatal error from now on show its dialog as a message box.
void installFatalErrorDialog();

}  // namespace tessel::gui
