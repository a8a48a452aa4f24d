#include "tools/MovementWorkload.h"

#include <system_error>

namespace calidus {

MovementWorkload::MovementWorkload(Scheduler& scheduler, const Edition& edition,
                                   std::uint32_t systemMask, std::function<void()> step) {
    for (int p = 0; p <= edition.highestLogicalProcessor && p < 32; ++p) {
        if ((systemMask & (1u << p)) == 0) {
            continue;
        }
        try {
            threads_.emplace_back([this, &scheduler, step, p] {
                scheduler.setThreadAffinity(1u << p);
                scheduler.setThreadPriority(ThreadPriority::Idle);
                for (int done = 0; done < kSteps && !stop_.load(std::memory_order_relaxed);
                     ++done) {
                    step();
                }
            });
        } catch (const std::system_error&) {
            // The processors that got a thread still warm; the test shows what moved.
            break;
        }
    }
}

MovementWorkload::~MovementWorkload() {
    stop_.store(true, std::memory_order_relaxed);
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

}  // namespace calidus
