#pragma once

#include <atomic>

#include "platform/Scheduler.h"

namespace calidus {

// The stop handshake of the worker threads: 1 running, -1 stop requested, 0 stopped.
// A thread writes 1 when it starts and 0 just before it ends; only the monitoring thread writes -1.
struct ThreadControl {
    static constexpr int kStopped = 0;
    static constexpr int kRunning = 1;
    static constexpr int kStopRequested = -1;

    std::atomic<int> clockThreadFlag{kStopped};
    std::atomic<int> loadThreadFlag{kStopped};
    std::atomic<int> killMHz{0};  // 1: the clock thread stops after the fourth tick
    // Set by whoever starts the clock thread, before it starts.
    std::atomic<bool> clockThreadStarted{false};
};

struct StopOptions {
    // The XL edition asks the clock thread to stop even before it has reported running.
    bool requestClockStopUnconditionally = false;
};

// Asks both threads to stop and waits for them, at most 49 waits of 100 ms in all, the load
// thread first. Answers whether both have ended.
bool stopWorkerThreads(ThreadControl& control, Scheduler& scheduler, StopOptions options);

}  // namespace calidus
