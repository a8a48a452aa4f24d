#pragma once

#include <array>

namespace calidus {

// Per-core-slot TjMax and idle calibration; the standard edition uses slots 0..3.
struct CoreCalibration {
    static constexpr int kSlots = 8;
    static constexpr int kStartTjMax = 100;

    std::array<int, kSlots> tjMax{kStartTjMax, kStartTjMax, kStartTjMax, kStartTjMax,
                                  kStartTjMax, kStartTjMax, kStartTjMax, kStartTjMax};
    std::array<int, kSlots> defaultTjMax = tjMax;  // before the settings; Settings restores it
    std::array<int, kSlots> idle{};                // tenths of a degree
};

}  // namespace calidus
