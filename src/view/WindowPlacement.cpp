#include "view/WindowPlacement.h"

#include <cstdio>

#include "config/ScreenPosition.h"

namespace calidus {

namespace {

// The anchor is kept in the same frame as the saved window position: the composition border
// shift and the old frameless offset are applied when it is set and undone when moving there.
ScreenPoint visibleOffset(bool miniActive, DesktopTraits desktop) {
    if (miniActive) {
        return desktop.legacyFrames ? ScreenPoint{1, 0} : ScreenPoint{};
    }
    return desktop.invisibleBorders ? ScreenPoint{-5, -5} : ScreenPoint{};
}

}  // namespace

std::string setAnchorPosition(AnchorState& state, const ScreenRect& window, bool miniActive,
                              DesktopTraits desktop) {
    const ScreenPoint offset = visibleOffset(miniActive, desktop);
    const ScreenPoint corner = window.translated(offset.x, offset.y).topLeft();
    state.previous = state.anchor;
    state.anchor = corner;
    char text[96];
    if (state.previous == state.anchor) {
        std::snprintf(text, sizeof text, "Current Position\n( %d, %d )\n", corner.x, corner.y);
    } else {
        std::snprintf(text, sizeof text,
                      "Previous Position\n( %d, %d )\n\nNew Position\n( %d, %d )\n",
                      state.previous.x, state.previous.y, corner.x, corner.y);
    }
    return text;
}

ScreenRect anchorTarget(const AnchorState& state, const ScreenRect& window, bool miniActive,
                        DesktopTraits desktop) {
    const ScreenPoint offset = visibleOffset(miniActive, desktop);
    return window.movedTo(state.anchor).translated(-offset.x, -offset.y);
}

std::optional<ScreenRect> placeFromSavedPosition(std::int32_t windowXY, const ScreenRect& current,
                                                 std::span<const Monitor> monitors,
                                                 DesktopTraits desktop, bool avoidOrigin) {
    const int allowance = desktop.borderAllowance();
    ScreenRect target = current.movedTo(unpackPosition(windowXY)).translated(allowance, allowance);
    if (avoidOrigin && target.topLeft() == ScreenPoint{0, 0}) {
        target = target.translated(0, 1);
    }
    if (isOffScreen(target, nearestWorkArea(target, monitors))) {
        return std::nullopt;
    }
    return target;
}

}  // namespace calidus
