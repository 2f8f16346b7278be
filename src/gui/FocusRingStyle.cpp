#include "FocusRingStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace tessel::gui {

namespace {

void drawRing(const QRect& rect, const QPalette& palette, QPainter* painter) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(rect).adjusted(1, 1, -1, -1), 3, 3);
    painter->restore();
}

bool hasFocus(const QStyleOption* option) {
    return option->state & QStyle::State_HasFocus;
}

}  // namespace

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element == CE_PushButton && hasFocus(option))
        drawRing(option->rect, option->palette, painter);
}

void FocusRingStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ToolButton && hasFocus(option))
        drawRing(option->rect, option->palette, painter);
}

// Check boxes and radio buttons mark focus around their label: the same ring there.
void FocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element == PE_FrameFocusRect && qobject_cast<const QAbstractButton*>(widget)) {
        drawRing(option->rect, option->palette, painter);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void FocusRingStyle::install() {
    // The proxy takes over the current style (and owns it from then on).
    QApplication::setStyle(new FocusRingStyle(QApplication::style()->name()));
}

}  // namespace tessel::gui
