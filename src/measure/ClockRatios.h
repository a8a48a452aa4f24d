#pragma once

#include <cstdint>
#include <optional>

#include "measure/ClockState.h"

namespace calidus {

// A ratio field of bits 12:8 with bit 14 adding a half, in tenths.
int halfStepTenths(std::uint32_t word);

struct RatioFigures {
    double baseRatio = 1.0;
    double maxRatio = 1.0;
    double maxCoreRefRatio = 1.0;
    double loadScale = 1.0;
};

// Processors with MSR_PLATFORM_INFO: its bits 15:8 are both the base ratio and the ratio the
// time-stamp counter runs at; the turbo bound comes from the ratio limits every tick.
double platformBaseRatio(std::uint32_t platformInfoLow);

// Older processors, from the tenths of the maximum ratio in IA32_PERF_STATUS (c), of
// IA32_PLATFORM_ID (e) and, read only when c equals e, of the acceleration ratio in 0xCE (r).
RatioFigures ratiosFromPerfStatus(int perfStatusTenths, int platformIdTenths,
                                  int accelerationTenths);

void applyRatios(ClockState& clock, const RatioFigures& ratios);

// The highest of the four one-core-to-four-core limits of MSR_TURBO_RATIO_LIMIT over the base
// ratio, never below 1.
double turboBound(std::uint32_t turboRatioLimitLow, double baseRatio);

// The multiplier of the busiest processor from its core-to-reference ratio h: tenths above the
// base ratio, halves at or below it.
double multiplierFromCounters(double baseRatio, double coreRefRatio);
// The mean of the ratio registers, to the nearest half.
double multiplierFromRegisters(double meanRatio);

// One processor's ratio from its registers: the low byte of IA32_PERF_STATUS where
// MSR_PLATFORM_INFO exists, else EBL_CR_POWERON's bits 26:22 plus a half for bit 18, halved when
// bit 18 is clear and IA32_PERF_STATUS's bit 15 is set (perfStatusLow is read only then).
double platformRatio(std::uint32_t perfStatusLow);
double powerOnRatio(std::uint32_t powerOnLow, std::optional<std::uint32_t> perfStatusLow);
bool powerOnNeedsPerfStatus(std::uint32_t powerOnLow);

// The processor with the highest load, the first of equals, processor 0 when all are idle.
int busiestProcessor(const ClockState& clock, int entries);

}  // namespace calidus
