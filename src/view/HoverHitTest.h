#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace calidus {

enum class ExtremeRow { Minimum, Maximum };

struct HoverHit {
    int column;  // core column under the pointer, 0 at the left
    ExtremeRow row;
    bool operator==(const HoverHit&) const = default;
};

// The core column and the minimum or maximum row under a client-area point (pixels) of the
// four-column window.
std::optional<HoverHit> hoverHitFourColumns(int x, int y, int clientWidth);

// The six-column window: a column is hit inside its fields' span, widened by 3 pixels.
std::optional<HoverHit> hoverHitSixColumns(int x, int y);

// The pop-up's text: the day the extreme was reached, "%b %d" in the C locale.
std::string hoverDateText(const std::tm& when);

}  // namespace calidus
