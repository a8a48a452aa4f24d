#include "measure/LoadMeasurement.h"

#include "measure/LoadThread.h"

namespace calidus {

void LoadMeasurement::startUp(RunContext& run) {
    // Without the registers' counters the system's figure is the only load there is.
    if (!run.settings.tmLoad && !run.platform.driver->readOnly()) {
        return;
    }
    ProcessorTimeCounter* counter = run.platform.processorTime.get();
    Scheduler& scheduler = *run.platform.scheduler;
    std::atomic<int>& flag = run.threads.loadThreadFlag;
    const ThreadPriority priority = run.edition.timeCriticalWorkerThreads
                                        ? ThreadPriority::TimeCritical
                                        : ThreadPriority::AboveNormal;
    thread_.start(flag, [&flag, counter, &scheduler, this, priority] {
        runLoadThread(flag, counter, scheduler, percent_, priority);
    });
}

void LoadMeasurement::startWhenStopped(RunContext& run) {
    if (run.threads.loadThreadFlag.load() != ThreadControl::kStopped) {
        return;
    }
    thread_.join();
    startUp(run);
}

void LoadMeasurement::shutDown(RunContext&) {
    thread_.join();
}

}  // namespace calidus
