#include "measure/ThreadControl.h"

namespace calidus {

namespace {

constexpr int kWaitBudget = 50;
constexpr std::chrono::milliseconds kWaitStep{100};

// Answers whether the thread was running; one that has just ended keeps its 0.
bool requestStop(std::atomic<int>& flag) {
    int running = ThreadControl::kRunning;
    return flag.compare_exchange_strong(running, ThreadControl::kStopRequested);
}

// Spends the budget while the thread has not written 0.
void waitWhileRunning(const std::atomic<int>& flag, int& budget, Scheduler& scheduler) {
    while (budget > 0 && flag.load() != ThreadControl::kStopped) {
        scheduler.sleep(kWaitStep);
        --budget;
    }
}

}  // namespace

bool stopWorkerThreads(ThreadControl& control, Scheduler& scheduler, StopOptions options) {
    int budget = kWaitBudget;
    if (control.clockThreadStarted.load() && options.requestClockStopUnconditionally) {
        control.clockThreadFlag.store(ThreadControl::kStopRequested);
    } else {
        requestStop(control.clockThreadFlag);
    }
    if (requestStop(control.loadThreadFlag)) {
        budget = kWaitBudget - 1;
        waitWhileRunning(control.loadThreadFlag, budget, scheduler);
    }
    --budget;
    waitWhileRunning(control.clockThreadFlag, budget, scheduler);
    return control.loadThreadFlag.load() == ThreadControl::kStopped &&
           control.clockThreadFlag.load() == ThreadControl::kStopped;
}

}  // namespace calidus
