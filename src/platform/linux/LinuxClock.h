#pragma once

#include "platform/Clock.h"

namespace calidus {

// The counter is CLOCK_MONOTONIC_RAW in nanoseconds: not slewed by time adjustment, so it
// measures the time-stamp counter's rate faithfully.
class LinuxClock : public Clock {
  public:
    std::int64_t counter() override;
    std::int64_t counterFrequency() override { return 1'000'000'000; }
    std::uint32_t tickCount() override;
    std::time_t now() override;
    std::tm localTime(std::time_t when) override;
};

}  // namespace calidus
