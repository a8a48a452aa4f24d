#include "ui/GroupFrameStyle.h"

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace calidus {

GroupFrameStyle::GroupFrameStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int GroupFrameStyle::fusionFrameTop(const QStyleOption& option, const QWidget* widget) const {
    const int fontHeight = option.fontMetrics.height();
    if (fontHeight == measuredFontHeight_) {
        return measuredFrameTop_;
    }
    // Measured rather than assumed: the first row Fusion paints in an empty box.
    QImage image(32, 4 * fontHeight + 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        QStyleOption probe(option);
        probe.rect = image.rect();
        baseStyle()->drawPrimitive(PE_FrameGroupBox, &probe, &painter, widget);
    }
    int top = 0;
    while (top < image.height() - 1 && qAlpha(image.pixel(image.width() / 2, top)) == 0) {
        ++top;
    }
    measuredFontHeight_ = fontHeight;
    measuredFrameTop_ = top;
    return top;
}

void GroupFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    if (element != PE_FrameGroupBox || box == nullptr || box->title().isEmpty()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const int lift = fusionFrameTop(*option, widget) - option->fontMetrics.height() / 2;
    QStyleOption raised(*option);
    raised.rect.setTop(option->rect.top() - lift);
    QProxyStyle::drawPrimitive(element, &raised, painter, widget);
}

QRect GroupFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                      SubControl subControl, const QWidget* widget) const {
    const QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    if (control != CC_GroupBox || subControl != SC_GroupBoxLabel) {
        return rect;
    }
    return rect.translated(option->fontMetrics.height() / 2, 0);
}

}  // namespace calidus
