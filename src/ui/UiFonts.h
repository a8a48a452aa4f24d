#pragma once

#include <QFont>

namespace calidus {

// The dialog font every window is laid out in (Tahoma 8 where it exists).
QFont dialogFont();

// The large font of the temperature and distance fields.
QFont valueFont();

}  // namespace calidus
