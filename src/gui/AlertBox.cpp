#include "AlertBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

namespace tessel::gui {

namespace {

constexpr int kMinimumWidth = 420;

// Only a button that says Cancel is the one Escape presses; the others are choices.
QMessageBox::ButtonRole roleOf(const QString& title) {
    return title == QMessageBox::tr("Cancel") || title == u"Cancel" ? QMessageBox::RejectRole
                                                                    : QMessageBox::ActionRole;
}

QPushButton* addButton(QMessageBox& box, const QString& title) {
    if (title.isEmpty())
        return nullptr;
    return box.addButton(title, roleOf(title));
}

}  // namespace

int runAlertBox(QWidget* parent, const AlertRequest& request) {
    QMessageBox box(parent);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box.setTextFormat(Qt::PlainText);
    box.setText(request.title);
    box.setInformativeText(request.message);
    QPushButton* defaultButton = box.addButton(
        request.defaultButton.isEmpty() ? QStringLiteral("OK") : request.defaultButton,
        roleOf(request.defaultButton));
    QPushButton* alternate = addButton(box, request.alternateButton);
    addButton(box, request.otherButton);
    box.setDefaultButton(defaultButton);
    // Room for a message of a few lines instead of a tall, narrow column.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(
            new QSpacerItem(kMinimumWidth, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
            grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();

    if (box.clickedButton() == defaultButton)
        return kAlertDefault;
    return box.clickedButton() == alternate ? kAlertAlternate : kAlertOther;
}

}  // namespace tessel::gui
