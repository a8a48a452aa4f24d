#pragma once

#include <array>
#include <cstdint>

namespace calidus {

// Entries per logical processor; the standard edition uses the first eight.
inline constexpr int kClockEntries = 16;

// What the clock measurement keeps between ticks, per logical processor and for the processor.
struct ClockState {
    std::array<double, kClockEntries> loadPercent{};  // busy share over the last tick, 0..100
    // Unhalted core clocks over unhalted reference clocks over the last tick.
    std::array<double, kClockEntries> coreRefRatio = [] {
        std::array<double, kClockEntries> start{};
        start.fill(1.0);
        return start;
    }();
    std::uint32_t processMask = 0;
    std::uint32_t systemMask = 0;  // the processors sampled
    std::uint32_t cpuSignature = 0;
    int processorCount = 0;
    double baseRatio = 1.0;  // the non-turbo multiplier
    std::array<std::uint64_t, kClockEntries> lastCoreClocks{};
    std::array<std::uint64_t, kClockEntries> lastRefClocks{};
    std::array<std::uint64_t, kClockEntries> lastTsc{};
    bool useFixedCounters = true;  // else the multiplier comes from the ratio registers
    bool platformInfoClass = false;
    double maxCoreRefRatio = 1.0;  // highest turbo or acceleration ratio over baseRatio
    double maxRatio = 1.0;         // the ratio the time-stamp counter runs at
    double loadScale = 1.0;        // applied to the reference-clock share of the load
};

}  // namespace calidus
