#include "measure/ClockRatios.h"

#include <algorithm>
#include <cmath>

namespace calidus {

namespace {

constexpr std::uint32_t kHalfStep = 0x4000;
constexpr std::uint32_t kPowerOnHalf = 1u << 18;
constexpr std::uint32_t kHalfRatioDisplay = 1u << 15;

// A ratio register that reads 0 (or an absurd bound) must not divide anything by zero.
double atLeastOne(double ratio) {
    return ratio >= 1.0 && std::isfinite(ratio) ? ratio : 1.0;
}

double quotient(int numerator, int denominator) {
    return denominator > 0 ? static_cast<double>(numerator) / denominator : 1.0;
}

}  // namespace

int halfStepTenths(std::uint32_t word) {
    return static_cast<int>((word >> 8) & 0x1F) * 10 + ((word & kHalfStep) != 0 ? 5 : 0);
}

double platformBaseRatio(std::uint32_t platformInfoLow) {
    return atLeastOne(static_cast<double>((platformInfoLow >> 8) & 0xFF));
}

// A rerun after the flexible ratio changed starts from a load scale of 1 again, so that one
// acceleration step does not scale the load for the rest of the run.
RatioFigures ratiosFromPerfStatus(int perfStatusTenths, int platformIdTenths,
                                  int accelerationTenths) {
    const int c = perfStatusTenths;
    const int e = platformIdTenths;
    RatioFigures ratios{.maxRatio = c * 0.1};
    if (c == e) {
        ratios.baseRatio = e * 0.1;
        ratios.maxCoreRefRatio = quotient(accelerationTenths, e);
    } else if (c > e) {
        ratios.baseRatio = e * 0.1;
        ratios.maxCoreRefRatio = ratios.loadScale = quotient(c, e);
    } else {
        ratios.baseRatio = c * 0.1;
        ratios.maxCoreRefRatio = 1.0;
    }
    ratios.baseRatio = atLeastOne(ratios.baseRatio);
    ratios.maxRatio = atLeastOne(ratios.maxRatio);
    ratios.maxCoreRefRatio = atLeastOne(ratios.maxCoreRefRatio);
    return ratios;
}

void applyRatios(ClockState& clock, const RatioFigures& ratios) {
    clock.baseRatio = ratios.baseRatio;
    clock.maxRatio = ratios.maxRatio;
    clock.maxCoreRefRatio = ratios.maxCoreRefRatio;
    clock.loadScale = ratios.loadScale;
}

double turboBound(std::uint32_t turboRatioLimitLow, double baseRatio) {
    std::uint32_t highest = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        highest = std::max(highest, (turboRatioLimitLow >> shift) & 0xFF);
    }
    return atLeastOne(highest / atLeastOne(baseRatio));
}

double multiplierFromCounters(double baseRatio, double coreRefRatio) {
    const double ratio = baseRatio * coreRefRatio;
    if (coreRefRatio > 1.0) {
        return std::trunc(ratio * 10 + 0.5) * 0.1;
    }
    return std::trunc(ratio * 2 + 0.5) * 0.5;
}

double multiplierFromRegisters(double meanRatio) {
    return std::trunc(2 * meanRatio + 0.5) * 0.5;
}

double platformRatio(std::uint32_t perfStatusLow) {
    return static_cast<double>(perfStatusLow & 0xFF);
}

bool powerOnNeedsPerfStatus(std::uint32_t powerOnLow) {
    return (powerOnLow & kPowerOnHalf) == 0;
}

double powerOnRatio(std::uint32_t powerOnLow, std::optional<std::uint32_t> perfStatusLow) {
    double ratio = static_cast<double>((powerOnLow >> 22) & 0x1F);
    if (!powerOnNeedsPerfStatus(powerOnLow)) {
        ratio += 0.5;
    } else if (perfStatusLow && (*perfStatusLow & kHalfRatioDisplay) != 0) {
        ratio *= 0.5;
    }
    return ratio;
}

int busiestProcessor(const ClockState& clock, int entries) {
    int busiest = 0;
    for (int p = 1; p < entries; ++p) {
        if (clock.loadPercent[static_cast<std::size_t>(p)] >
            clock.loadPercent[static_cast<std::size_t>(busiest)]) {
            busiest = p;
        }
    }
    return busiest;
}

}  // namespace calidus
