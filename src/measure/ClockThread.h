#pragma once

#include <atomic>

#include "platform/Clock.h"
#include "platform/Processor.h"
#include "platform/Scheduler.h"

namespace calidus {

// What the clock thread publishes for the monitoring thread.
struct ClockFigures {
    std::atomic<double> tscMHz{0.0};  // 0 until the first calibration
    // Time-stamp ticks per high-resolution-counter tick over the last 250 ms window.
    std::atomic<double> tscPerQpcTick{0.0};
};

struct ClockThreadOptions {
    ThreadPriority priority = ThreadPriority::AboveNormal;
    int burstRounds = 4'194'304;  // of the busy loop the first calibration is timed over
};

// Calibrates the time-stamp counter against the high-resolution counter: a first figure from
// a busy burst, then a pass every 375 ms (a 125 ms and a 250 ms window) feeding the ring of
// five. The thread pins itself to the highest of processors 8..0 that accepts it. Whoever
// starts the thread sets the flag to running first, so a stop asked for before the thread got
// going is never overwritten; the thread tests it once per pass and writes stopped at its end.
// A machine whose counters do not move over the burst gets its first figure from the first pass.
void runClockThread(std::atomic<int>& flag, Clock& clock, Processor& processor,
                    Scheduler& scheduler, ClockFigures& figures, ClockThreadOptions options);

}  // namespace calidus
