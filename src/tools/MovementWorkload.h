#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "common/Edition.h"
#include "platform/Scheduler.h"

namespace calidus {

// The load of the sensor movement test: one idle-priority thread on each processor of the
// system mask, each running ten workload steps (benchLoop(10) in steps of one) and then ending
// by itself. Going away stops the threads after their current step and waits for them, so
// nothing runs on after the window that started them.
class MovementWorkload {
  public:
    static constexpr int kSteps = 10;

    MovementWorkload(Scheduler& scheduler, const Edition& edition, std::uint32_t systemMask,
                     std::function<void()> step);
    MovementWorkload(const MovementWorkload&) = delete;
    MovementWorkload& operator=(const MovementWorkload&) = delete;
    ~MovementWorkload();

  private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

}  // namespace calidus
