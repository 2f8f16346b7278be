#include "PageContext.h"

#include <QStringList>

namespace tessel::gui {

QString toolName(int index) {
    static const QStringList names{
        QStringLiteral("Search & Replace"), QStringLiteral("Capitalization"),
        QStringLiteral("Playlist Manager"), QStringLiteral("Data Mover"),
        QStringLiteral("Filename Changer"), QStringLiteral("Miscellaneous Tools"),
    };
    return names.value(index);
}

}  // namespace tessel::gui
