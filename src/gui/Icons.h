// Icons of the window: the desktop theme's own where it has one, else a small one compiled in.
#pragma once

#include <QIcon>
#include <QString>

namespace tessel::gui {

/// The theme icon named themeName; when the theme has none, the compiled-in icon of that base
/// name (":/icons/<fallback>-32.png" and its 64-pixel twin).
QIcon themedIcon(const QString& themeName, const QString& fallback);

/// The application's own icon.
QIcon applicationIcon();

}  // namespace tessel::gui
