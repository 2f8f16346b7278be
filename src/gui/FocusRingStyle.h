// The application's style: the desktop's own, with a clear ring in the highlight colour around
// the button that has the keyboard focus (some styles mark it barely or not at all).
#pragma once

#include <QProxyStyle>

namespace tessel::gui {

class FocusRingStyle : public QProxyStyle {
    Q_OBJECT

  public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

    /// Makes this the application's style, over the one the application has.
    static void install();
};

}  // namespace tessel::gui
