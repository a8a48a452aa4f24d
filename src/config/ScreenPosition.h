#pragma once

#include <cstdint>

namespace calidus {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// A screen point packed into one integer (WindowXY, AnchorXY): each coordinate biased by 8192
// into its own 16-bit half, x low and y high. 0 means "not set".
constexpr std::int32_t packPosition(ScreenPoint point) {
    const auto half = [](int v) { return static_cast<std::uint32_t>(v + 8192) & 0xFFFFu; };
    return static_cast<std::int32_t>((half(point.y) << 16) + half(point.x));
}

constexpr ScreenPoint unpackPosition(std::int32_t packed) {
    const auto bits = static_cast<std::uint32_t>(packed);
    return ScreenPoint{static_cast<int>(bits & 0xFFFFu) - 8192,
                       static_cast<int>((bits >> 16) & 0xFFFFu) - 8192};
}

}  // namespace calidus
