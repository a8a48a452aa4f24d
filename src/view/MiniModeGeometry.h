#pragma once

#include "view/ScreenRect.h"

namespace calidus {

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// Where the compact window goes, and the normal rectangle to return to.
struct MiniEntry {
    ScreenRect normal;  // as the window system reported it before the switch
    ScreenRect mini;
};

// The compact window is centred on the normal window and keeps its top, then moved down until
// at least 5 pixels of it show below the top of the work area.
MiniEntry enterMiniGeometry(const ScreenRect& normal, WindowSize miniOuter,
                            const ScreenRect& workArea, DesktopTraits desktop);

// The normal window comes back at its old size, centred on the compact window.
ScreenRect leaveMiniGeometry(const ScreenRect& mini, const ScreenRect& normal,
                             DesktopTraits desktop);

// While compact, only the bottom edge moves: it uncovers up to 257 more pixels of the layout.
struct SizeLimits {
    WindowSize minimum;
    WindowSize maximum;
};
SizeLimits miniSizeLimits(WindowSize miniOuter);

}  // namespace calidus
