#include "ui/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace calidus {

namespace {

const QColor kDeepRed(0xB0, 0x1E, 0x16);
const QColor kEmber(0xF0, 0x7A, 0x1A);

// A thermometer filled to three quarters, centred in `area`.
void drawThermometer(QPainter& p, const QRectF& area) {
    const qreal w = area.width();
    const qreal h = area.height();
    const QRectF tube(area.center().x() - w * 0.12, area.top() + h * 0.06, w * 0.24, h * 0.66);
    const QRectF bulb(area.center().x() - w * 0.22, area.bottom() - w * 0.46, w * 0.44, w * 0.44);
    QPainterPath outline;
    outline.addRoundedRect(tube, tube.width() / 2, tube.width() / 2);
    outline.addEllipse(bulb);
    p.setPen(QPen(Qt::white, qMax<qreal>(1.0, w / 16)));
    p.setBrush(Qt::white);
    p.drawPath(outline.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(kDeepRed);
    const qreal inset = tube.width() * 0.28;
    const QRectF mercury(tube.left() + inset, tube.top() + tube.height() * 0.3,
                         tube.width() - 2 * inset, tube.height() * 0.75);
    p.drawRect(mercury);
    p.drawEllipse(bulb.adjusted(inset, inset, -inset, -inset));
}

QPixmap iconImage(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, kEmber);
    fill.setColorAt(1, kDeepRed);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 5.0, size / 5.0);
    drawThermometer(p, QRectF(size * 0.2, size * 0.08, size * 0.6, size * 0.84));
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(iconImage(size));
    }
    return icon;
}

QPixmap aboutLogo() {
    return iconImage(64);
}

QPixmap homePageImage() {
    QPixmap pixmap(180, 40);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 180, 0);
    fill.setColorAt(0, kDeepRed);
    fill.setColorAt(1, kEmber);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0, 0, 180, 40), 6, 6);
    drawThermometer(p, QRectF(6, 4, 20, 32));
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(30, 0, 146, 40), Qt::AlignCenter, QStringLiteral("Calidus"));
    return pixmap;
}

QPixmap donationImage() {
    QPixmap pixmap(74, 22);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1C, 0x4E, 0x9C), 1));
    p.setBrush(QColor(0xFF, 0xC4, 0x39));
    p.drawRoundedRect(QRectF(0.5, 0.5, 73, 21), 10, 10);
    QFont font = p.font();
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x1C, 0x4E, 0x9C));
    p.drawText(QRectF(0, 0, 74, 22), Qt::AlignCenter, QStringLiteral("Donate"));
    return pixmap;
}

}  // namespace calidus
