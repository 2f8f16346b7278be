// Tessel's own icons, drawn from SVG. Their dark lines take the palette's text colour, so the
// same icon reads on a light and on a dark palette; their coloured parts stay as drawn.
#pragma once

#include <QIcon>
#include <QPalette>
#include <QString>

namespace tessel::gui {

/// The icon ":/icons/<name>.svg" at 16 to 64 pixels, its lines in palette's window-text colour.
QIcon toolIcon(const QString& name, const QPalette& palette);

/// The application's own icon.
QIcon applicationIcon();

}  // namespace tessel::gui
