#include "measure/CounterSampling.h"

#include <algorithm>

namespace calidus {

namespace {

constexpr std::uint64_t kFixedCounterSpan = std::uint64_t{1} << 40;
// The three registers of one processor are read one after the other, not at one instant.
constexpr double kReadSkew = 1.05;

std::size_t entry(int processor) {
    return static_cast<std::size_t>(processor);
}

bool plausible(std::uint64_t delta, std::uint64_t tscDelta, double maxCoreRefRatio) {
    return static_cast<double>(delta) <=
           static_cast<double>(tscDelta) * std::max(maxCoreRefRatio, 1.0) * kReadSkew;
}

}  // namespace

std::uint64_t counterDelta(std::uint64_t previous, std::uint64_t current) {
    return current >= previous ? current - previous : current + kFixedCounterSpan - previous;
}

void storeReadings(ClockState& clock, std::span<const CounterReading> readings) {
    for (const CounterReading& reading : readings) {
        if (reading.read && reading.processor >= 0 && reading.processor < kClockEntries) {
            clock.lastCoreClocks[entry(reading.processor)] = reading.coreClocks;
            clock.lastRefClocks[entry(reading.processor)] = reading.refClocks;
            clock.lastTsc[entry(reading.processor)] = reading.tsc;
        }
    }
}

double foldCounterReadings(ClockState& clock, std::span<const CounterReading> readings) {
    double sum = 0.0;
    int counted = 0;
    for (const CounterReading& reading : readings) {
        if (!reading.read || reading.processor < 0 || reading.processor >= kClockEntries) {
            continue;
        }
        const std::size_t p = entry(reading.processor);
        const std::uint64_t tscDelta =
            reading.tsc > clock.lastTsc[p] ? reading.tsc - clock.lastTsc[p] : 0;
        const std::uint64_t coreDelta = counterDelta(clock.lastCoreClocks[p], reading.coreClocks);
        const std::uint64_t refDelta = counterDelta(clock.lastRefClocks[p], reading.refClocks);
        if (plausible(coreDelta, tscDelta, clock.maxCoreRefRatio) &&
            plausible(refDelta, tscDelta, clock.maxCoreRefRatio)) {
            if (tscDelta > 0) {
                clock.loadPercent[p] = std::clamp(static_cast<double>(refDelta) * clock.loadScale *
                                                      100.0 / static_cast<double>(tscDelta),
                                                  0.0, 100.0);
            }
            if (coreDelta > 0 && refDelta > 0) {
                clock.coreRefRatio[p] =
                    std::min(static_cast<double>(coreDelta) / static_cast<double>(refDelta),
                             clock.maxCoreRefRatio);
                sum += clock.coreRefRatio[p];
                ++counted;
            }
        }
    }
    storeReadings(clock, readings);
    return counted > 0 ? sum / counted : 1.0;
}

}  // namespace calidus
