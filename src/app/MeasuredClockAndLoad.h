#pragma once

#include "measure/ClockThread.h"
#include "measure/MonitorState.h"
#include "record/ClockAndLoadSource.h"
#include "tools/BenchmarkClock.h"

namespace calidus {

// The log's and the benchmark's clock and load: the last tick's figures and what the clock
// thread published, all 0 before the first calibration.
class MeasuredClockAndLoad : public ClockAndLoadSource, public BenchmarkClock {
  public:
    MeasuredClockAndLoad(const ClockReadings& readings, const ClockFigures& figures)
        : readings_(readings), figures_(figures) {}

    double coreMHz() const override { return readings_.coreMHz; }
    double currentLoad() const override { return readings_.load; }
    double tscMHz() const override { return figures_.tscMHz.load(); }
    double tscPerCounterTick() const override { return figures_.tscPerQpcTick.load(); }

  private:
    const ClockReadings& readings_;
    const ClockFigures& figures_;
};

}  // namespace calidus
