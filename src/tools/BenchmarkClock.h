#pragma once

namespace calidus {

// The clock measurement's figures the benchmark reads, each published by the clock thread or
// the monitoring tick. Before the first calibration they are all 0, and the benchmark then
// times itself by the tick count.
class BenchmarkClock {
  public:
    virtual ~BenchmarkClock() = default;

    virtual double tscMHz() const = 0;
    // Time-stamp counter ticks per tick of the platform clock's high-resolution counter.
    virtual double tscPerCounterTick() const = 0;
    virtual double coreMHz() const = 0;
};

}  // namespace calidus
