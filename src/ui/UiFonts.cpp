#include "ui/UiFonts.h"

namespace calidus {

QFont dialogFont() {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont valueFont() {
    QFont font(QStringLiteral("Microsoft Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(20);
    font.setWeight(QFont::Medium);
    return font;
}

}  // namespace calidus
