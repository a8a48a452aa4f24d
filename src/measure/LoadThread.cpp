#include "measure/LoadThread.h"

#include <numeric>

#include "measure/ThreadControl.h"

namespace calidus {

namespace {
constexpr std::chrono::milliseconds kStep{500};
}  // namespace

void runLoadThread(std::atomic<int>& flag, ProcessorTimeCounter* counter, Scheduler& scheduler,
                   std::atomic<double>& loadPercent, ThreadPriority priority) {
    scheduler.setThreadPriority(priority);
    if (counter != nullptr) {
        counter->busyPercent();
    }
    bool sampleDue = false;
    while (true) {
        scheduler.sleep(kStep);
        if (flag.load() != ThreadControl::kRunning) {
            break;
        }
        if (sampleDue) {
            loadPercent.store(counter != nullptr ? counter->busyPercent() : 0.0);
        }
        sampleDue = !sampleDue;
    }
    flag.store(ThreadControl::kStopped);
}

double currentLoad(bool processorTimeSelected, double processorTimePercent,
                   const ClockState& clock) {
    if (processorTimeSelected) {
        return processorTimePercent;
    }
    if (clock.processorCount <= 0) {
        return 0.0;
    }
    return std::accumulate(clock.loadPercent.begin(), clock.loadPercent.end(), 0.0) /
           clock.processorCount;
}

}  // namespace calidus
