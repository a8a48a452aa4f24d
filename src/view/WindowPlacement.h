#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "view/ScreenRect.h"

namespace calidus {

// The remembered anchor: its top-left corner and the one it replaced.
struct AnchorState {
    ScreenPoint anchor;
    ScreenPoint previous;
    bool isSet() const { return anchor != ScreenPoint{} || previous != ScreenPoint{}; }
};

// "Set Anchor Position": the window's place becomes the anchor; answers the message box text.
std::string setAnchorPosition(AnchorState& state, const ScreenRect& window, bool miniActive,
                              DesktopTraits desktop);

// "Move To Anchor": the window's rectangle at the anchor (the caller refuses it when off-screen).
ScreenRect anchorTarget(const AnchorState& state, const ScreenRect& window, bool miniActive,
                        DesktopTraits desktop);

// The first placement from the saved "WindowXY"; nothing when the result would be off-screen.
// `avoidOrigin` moves a target of exactly (0, 0) to (0, 1).
std::optional<ScreenRect> placeFromSavedPosition(std::int32_t windowXY, const ScreenRect& current,
                                                 const ScreenRect& workArea, DesktopTraits desktop,
                                                 bool avoidOrigin);

}  // namespace calidus
