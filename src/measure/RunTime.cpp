#include "measure/RunTime.h"

#include <algorithm>
#include <cstdlib>

namespace calidus {

void RunTime::start(std::time_t now, std::chrono::milliseconds tickPeriod) {
    gapLimit_ = tickPeriod.count() / 1000 + 2;
    previousTick_ = now;
    gap_ = 0;
}

std::int64_t RunTime::update(std::time_t now, std::time_t statsStart) {
    const std::int64_t elapsed = now - previousTick_;
    if (std::llabs(elapsed) > gapLimit_) {
        gap_ += elapsed - 1;
    }
    previousTick_ = now;
    return std::max<std::int64_t>(now - statsStart - gap_, 0);
}

}  // namespace calidus
