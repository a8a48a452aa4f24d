#pragma once

#include <span>

#include "view/ScreenRect.h"

namespace calidus {

struct Monitor {
    ScreenRect bounds;
    ScreenRect workArea;  // bounds less task bars and docks
};

// The work area of the monitor that holds most of the window, or, when the window is on none,
// of the monitor closest to it. An empty list answers an empty rectangle.
ScreenRect nearestWorkArea(const ScreenRect& window, std::span<const Monitor> monitors);

// Less than 5 pixels of the window would remain on the work area.
bool isOffScreen(const ScreenRect& window, const ScreenRect& workArea);

}  // namespace calidus
