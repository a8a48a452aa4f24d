#include "view/WorkArea.h"

#include <algorithm>
#include <cstdint>

namespace calidus {

namespace {

std::int64_t overlapArea(const ScreenRect& a, const ScreenRect& b) {
    const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

std::int64_t gapTo(const ScreenRect& a, const ScreenRect& b) {
    const std::int64_t dx = std::max({0, b.left - a.right, a.left - b.right});
    const std::int64_t dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
    return dx * dx + dy * dy;
}

}  // namespace

ScreenRect nearestWorkArea(const ScreenRect& window, std::span<const Monitor> monitors) {
    const Monitor* best = nullptr;
    std::int64_t bestOverlap = 0;
    for (const Monitor& m : monitors) {
        const std::int64_t overlap = overlapArea(window, m.bounds);
        if (overlap > bestOverlap) {
            best = &m;
            bestOverlap = overlap;
        }
    }
    if (best == nullptr) {
        for (const Monitor& m : monitors) {
            if (best == nullptr || gapTo(window, m.bounds) < gapTo(window, best->bounds)) {
                best = &m;
            }
        }
    }
    return best == nullptr ? ScreenRect{} : best->workArea;
}

bool isOffScreen(const ScreenRect& window, const ScreenRect& workArea) {
    return workArea.right - window.left < 5 || window.right - workArea.left < 5 ||
           window.bottom - workArea.top < 5 || window.top >= workArea.bottom;
}

}  // namespace calidus
