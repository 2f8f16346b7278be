#include "SheetPlacement.h"

#include <QScreen>
#include <QWidget>

namespace tessel::gui {

void placeAsSheet(QWidget* sheet, const QWidget* window) {
    if (!window)
        return;
    const QRect frame = window->geometry();
    const QSize size = sheet->size().expandedTo(sheet->minimumSizeHint());
    QPoint topLeft(frame.x() + (frame.width() - size.width()) / 2, frame.y());
    if (const QScreen* screen = window->screen()) {
        const QRect room = screen->availableGeometry();
        const int lastX = std::max(room.x(), room.x() + room.width() - size.width());
        const int lastY = std::max(room.y(), room.y() + room.height() - size.height());
        topLeft.setX(qBound(room.x(), topLeft.x(), lastX));
        topLeft.setY(qBound(room.y(), topLeft.y(), lastY));
    }
    sheet->move(topLeft);
}

}  // namespace tessel::gui
