#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <span>

#include "view/ScreenRect.h"
#include "view/WorkArea.h"

namespace calidus {

// The remembered anchor: its top-left corner and the one it replaced.
struct AnchorState {
    ScreenPoint anchor;
    ScreenPoint previous;
};

// "Set Anchor Position": the window's place becomes the anchor; answers the message box text.
std::string setAnchorPosition(AnchorState& state, const ScreenRect& window, bool miniActive,
                              DesktopTraits desktop);

// "Move To Anchor": the window's rectangle at the anchor (the caller refuses it when off-screen).
ScreenRect anchorTarget(const AnchorState& state, const ScreenRect& window, bool miniActive,
                        DesktopTraits desktop);

// The first placement from the saved "WindowXY"; nothing when the result would be off-screen on
// the monitor nearest to it. `avoidOrigin` moves a target of exactly (0, 0) to (0, 1).
std::optional<ScreenRect> placeFromSavedPosition(std::int32_t windowXY, const ScreenRect& current,
                                                 std::span<const Monitor> monitors,
                                                 DesktopTraits desktop, bool avoidOrigin);

}  // namespace calidus
