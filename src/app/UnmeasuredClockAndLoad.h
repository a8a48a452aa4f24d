#pragma once

#include "record/ClockAndLoadSource.h"

namespace calidus {

// A run without the clock and load measurement: the figures read as they do before the first
// measurement, 0.00 MHz and 0.0 %.
class UnmeasuredClockAndLoad : public ClockAndLoadSource {
  public:
    double coreMHz() const override { return 0.0; }
    double currentLoad() const override { return 0.0; }
};

}  // namespace calidus
