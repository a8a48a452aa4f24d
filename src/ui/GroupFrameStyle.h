#pragma once

#include <QProxyStyle>

namespace calidus {

// Fusion draws a group box's title above its frame, and the window's layout, made for titles
// that sit on the frame line, then puts its fields across the line. This style draws Fusion's
// frame with its top line through the middle of the title instead, broken where the title is.
class GroupFrameStyle : public QProxyStyle {
  public:
    GroupFrameStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    // The title moves in from the corner, so the frame's left line shows beside it.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;

  private:
    // How far below the top of its rectangle Fusion draws the frame of a titled box.
    int fusionFrameTop(const QStyleOption& option, const QWidget* widget) const;

    mutable int measuredFontHeight_ = -1;
    mutable int measuredFrameTop_ = 0;
};

}  // namespace calidus
