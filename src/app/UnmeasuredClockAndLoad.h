#pragma once

#include "record/ClockAndLoadSource.h"
#include "tools/BenchmarkClock.h"

namespace calidus {

// A run without the clock and load measurement: the figures read as they do before the first
// measurement, 0.00 MHz and 0.0 %, and an uncalibrated time-stamp counter.
class UnmeasuredClockAndLoad : public ClockAndLoadSource, public BenchmarkClock {
  public:
    double coreMHz() const override { return 0.0; }
    double currentLoad() const override { return 0.0; }
    double tscMHz() const override { return 0.0; }
    double tscPerCounterTick() const override { return 0.0; }
};

}  // namespace calidus
