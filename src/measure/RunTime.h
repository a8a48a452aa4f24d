#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

namespace calidus {

// The time monitored since start or Reset, without the time the machine slept or the clock
// jumped: a gap between two ticks longer than the tick period plus two seconds counts as one
// second.
class RunTime {
  public:
    void start(std::time_t now, std::chrono::milliseconds tickPeriod);
    void reset() { gap_ = 0; }
    // Every tick; answers the run time in seconds, never negative.
    std::int64_t update(std::time_t now, std::time_t statsStart);

  private:
    std::int64_t gapLimit_ = 3;
    std::time_t previousTick_ = 0;
    std::int64_t gap_ = 0;
};

}  // namespace calidus
