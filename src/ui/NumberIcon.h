#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QSize>

#include "config/Settings.h"

namespace calidus {

// The tray font from the "lf..." keys; `quality` 0 draws without anti-aliasing.
QFont trayFont(const TrayFontKeys& keys, int quality);

// The platform's small-icon size, normally 16 x 16.
QSize smallIconSize();

// The number as the tray shows it: its digits centred on a transparent background in the
// slot's colour. A null image when drawing fails.
QImage renderNumberImage(int value, bool threeDigit, ColourRef colour, const QFont& font,
                         QSize size);

// A null icon when drawing fails, so the caller keeps the previous one.
QIcon renderNumberIcon(int value, bool threeDigit, ColourRef colour, const QFont& font);

}  // namespace calidus
