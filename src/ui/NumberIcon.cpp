#include "ui/NumberIcon.h"

#include <QApplication>
#include <QColor>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "view/TrayNumberText.h"

namespace calidus {

namespace {

// The family bits of a pitch-and-family byte.
QFont::StyleHint styleHintOf(int pitchAndFamily) {
    switch (pitchAndFamily & 0xF0) {
        case 0x10:
            return QFont::Serif;
        case 0x20:
            return QFont::SansSerif;
        case 0x30:
            return QFont::TypeWriter;
        case 0x40:
            return QFont::Cursive;
        case 0x50:
            return QFont::Decorative;
        default:
            return QFont::AnyStyle;
    }
}

constexpr int kFixedPitch = 1;

QColor colourOf(ColourRef colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

QFont trayFont(const TrayFontKeys& keys, int quality) {
    QFont font(QString::fromStdString(keys.lfFaceName));
    font.setStyleHint(styleHintOf(keys.lfPitchAndFamily),
                      quality == 0 ? QFont::NoAntialias : QFont::PreferAntialias);
    font.setFixedPitch((keys.lfPitchAndFamily & 0x3) == kFixedPitch);
    if (keys.lfHeight < 0) {
        font.setPixelSize(-keys.lfHeight);
    } else if (keys.lfHeight > 0) {
        // A positive height is the whole cell, leading included.
        int pixels = keys.lfHeight;
        font.setPixelSize(pixels);
        while (pixels > 1 && QFontMetrics(font).height() > keys.lfHeight) {
            font.setPixelSize(--pixels);
        }
    }
    if (keys.lfWeight > 0) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp(keys.lfWeight, 1, 1000)));
    }
    font.setItalic(keys.lfItalic != 0);
    if (keys.lfWidth > 0) {
        const int natural = std::max(1, QFontMetrics(font).averageCharWidth());
        font.setStretch(std::clamp(keys.lfWidth * 100 / natural, 1, 4000));
    }
    return font;
}

QSize smallIconSize() {
    const int side = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    return {side, side};
}

QImage renderNumberImage(int value, bool threeDigit, ColourRef colour, const QFont& font,
                         QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return {};
    }
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (!painter.isActive()) {
        return {};
    }
    const bool smooth = font.styleStrategy() != QFont::NoAntialias;
    painter.setRenderHint(QPainter::TextAntialiasing, smooth);
    painter.setFont(font);
    painter.setPen(colourOf(colour));
    painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(trayNumberText(value, threeDigit)));
    painter.end();
    return image;
}

QIcon renderNumberIcon(int value, bool threeDigit, ColourRef colour, const QFont& font) {
    // Panels show 16 to 24 pixel icons, twice that on HiDPI screens; each size is drawn in its
    // own with the font grown alike, so the host need not blur a small picture up.
    const int base = smallIconSize().width();
    std::vector<int> sides{16, 22, 24, 32, 48};
    if (std::find(sides.begin(), sides.end(), base) == sides.end()) {
        sides.push_back(base);
    }
    QIcon icon;
    for (const int side : sides) {
        QFont sized = font;
        if (side != base) {
            sized.setPixelSize(std::max(1, QFontInfo(font).pixelSize() * side / base));
            // The digits keep a pixel free on either side where the grown font would fill it.
            const QString text = QString::fromStdString(trayNumberText(value, threeDigit));
            while (sized.pixelSize() > 1 &&
                   QFontMetrics(sized).tightBoundingRect(text).width() > side - 2) {
                sized.setPixelSize(sized.pixelSize() - 1);
            }
        }
        const QImage image = renderNumberImage(value, threeDigit, colour, sized, QSize(side, side));
        if (image.isNull()) {
            return {};
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace calidus
