#pragma once

#include <cstdint>
#include <span>

#include "measure/ClockState.h"

namespace calidus {

// One processor's unhalted core clocks (IA32_FIXED_CTR1), unhalted reference clocks
// (IA32_FIXED_CTR2) and time-stamp counter, read together in one tick.
struct CounterReading {
    int processor = 0;
    bool read = false;  // all three registers answered
    std::uint64_t coreClocks = 0;
    std::uint64_t refClocks = 0;
    std::uint64_t tsc = 0;
};

// The fixed counters are 40 bits wide: a value below the previous one has wrapped.
std::uint64_t counterDelta(std::uint64_t previous, std::uint64_t current);

// Stores the readings as the previous values of their processors.
void storeReadings(ClockState& clock, std::span<const CounterReading> readings);

// One tick's sample: per processor the load and the core-to-reference ratio from the deltas
// since the previous readings, then the readings stored. Answers the mean ratio of the
// processors that counted, 1.0 when none did.
//
// The kernel's perf subsystem (the NMI watchdog on many systems) programs and reloads fixed
// counter 1, so a counter can jump: a delta larger than the time-stamp delta allows at the
// highest ratio is no wrap and no figure, and that processor keeps its figures of the last tick.
double foldCounterReadings(ClockState& clock, std::span<const CounterReading> readings);

}  // namespace calidus
