// Where the window's sheets open: at the top of the window they belong to, centred across it,
// so they read as part of that window rather than as windows of their own.
#pragma once

class QWidget;

namespace tessel::gui {

/// Moves sheet to the top of window, centred horizontally, kept on window's screen.
void placeAsSheet(QWidget* sheet, const QWidget* window);

}  // namespace tessel::gui
