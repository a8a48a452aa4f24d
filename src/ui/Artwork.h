#pragma once

#include <QIcon>
#include <QPixmap>

namespace calidus {

// The program's pictures, drawn rather than shipped: the window and tray icon, the About
// window's logo and its two picture buttons.
QIcon programIcon();
QPixmap aboutLogo();
QPixmap homePageImage();
QPixmap donationImage();

}  // namespace calidus
