#include "Icons.h"

namespace tessel::gui {

namespace {

QIcon compiledIn(const QString& name) {
    QIcon icon;
    for (int size : {32, 64})
        icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(name).arg(size), QSize(size, size));
    return icon;
}

}  // namespace

QIcon themedIcon(const QString& themeName, const QString& fallback) {
    return QIcon::fromTheme(themeName, compiledIn(fallback));
}

QIcon applicationIcon() {
    return compiledIn(QStringLiteral("tessel"));
}

}  // namespace tessel::gui
