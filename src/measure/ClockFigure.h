#pragma once

#include <cstdint>
#include <optional>

namespace calidus {

// What the clock and bus fields show.
struct ClockFigure {
    double coreMHz = 0.0;
    double busMHz = 0.0;
    double multiplier = 0.0;
};

// The bus clock is the calibrated time-stamp rate over the ratio it runs at. Where
// IA32_PERF_STATUS says the processor runs at half a bus ratio (bit 15 of its low word) below
// its maximum (bits 12:8 of its high word), half the bus clock and twice the multiplier are shown,
// their product unchanged. Processors with MSR_PLATFORM_INFO pass no perf status.
ClockFigure clockFigure(double tscMHz, double multiplier, double maxRatio,
                        std::optional<std::uint64_t> perfStatus);

// The core voltage from the VID field of IA32_PERF_STATUS.
double vidVolts(std::uint32_t perfStatusLow, bool mobile);

}  // namespace calidus
