#include "gui/SheetPlacement.h"

#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

namespace tessel::gui::test {
namespace {

TEST(SheetPlacementTest, SheetsOpenAtTheTopOfTheirWindowAndStayOnScreen) {
    QWidget window;
    const QRect room = window.screen()->availableGeometry();
    struct Row {
        const char* name;
        QRect window;
        QSize sheet;
        QPoint expected;
    };
    const QList<Row> table{
        {"centred at the top", QRect(100, 50, 400, 300), QSize(200, 100), QPoint(200, 50)},
        {"wider than the window", QRect(200, 50, 300, 300), QSize(400, 100), QPoint(150, 50)},
        {"kept off the right edge", QRect(room.right() - 100, 50, 300, 300), QSize(400, 100),
         QPoint(room.right() + 1 - 400, 50)},
        {"kept off the left edge", QRect(room.left(), 50, 100, 300), QSize(400, 100),
         QPoint(room.left(), 50)},
    };
    for (const Row& row : table) {
        window.setGeometry(row.window);
        QWidget sheet;
        sheet.resize(row.sheet);
        placeAsSheet(&sheet, &window);
        EXPECT_EQ(sheet.pos(), row.expected) << row.name;
    }
}

}  // namespace
}  // namespace tessel::gui::test
