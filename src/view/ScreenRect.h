#pragma once

#include "config/ScreenPosition.h"

namespace calidus {

// A window or work-area rectangle in screen pixels; right and bottom are exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    ScreenPoint topLeft() const { return {left, top}; }
    ScreenRect translated(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    ScreenRect movedTo(ScreenPoint p) const { return translated(p.x - left, p.y - top); }
    ScreenRect grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
    bool operator==(const ScreenRect&) const = default;
};

// What the desktop adds around a window. Where composition draws invisible resize borders,
// a window's rectangle is 5 pixels larger on every side than what the user sees; the oldest
// desktops drew frameless windows one pixel off.
struct DesktopTraits {
    bool invisibleBorders = false;
    bool legacyFrames = false;

    int borderAllowance() const { return invisibleBorders ? 5 : 0; }
};

}  // namespace calidus
