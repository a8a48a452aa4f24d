#pragma once

#include <atomic>

#include "measure/ClockState.h"
#include "platform/ProcessorTimeCounter.h"
#include "platform/Scheduler.h"

namespace calidus {

// Publishes the system's processor-time figure once a second, each value covering the
// preceding second: the first sample at the start is only the reference. Without a counter
// (or when a sample fails) the figure is 0.0. Wakes every 500 ms to see a stop request; the flag
// protocol is the clock thread's.
void runLoadThread(std::atomic<int>& flag, ProcessorTimeCounter* counter, Scheduler& scheduler,
                   std::atomic<double>& loadPercent, ThreadPriority priority);

// The load shown and logged: the processor-time figure when "TMLoad" selects it, otherwise
// the mean of the fixed-counter loads over the processors sampled (0 when there are none).
double currentLoad(bool processorTimeSelected, double processorTimePercent,
                   const ClockState& clock);

}  // namespace calidus
