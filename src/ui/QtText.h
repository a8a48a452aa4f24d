#pragma once

#include <QColor>
#include <QString>
#include <string_view>

#include "config/Settings.h"

namespace calidus {

// The program's texts are UTF-8.
inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A stored colour is 0x00BBGGRR.
inline QColor toQColor(ColourRef colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

}  // namespace calidus
