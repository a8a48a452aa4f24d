#include "measure/LoadMeasurement.h"

#include "measure/LoadThread.h"

namespace calidus {

void LoadMeasurement::startUp(RunContext& run) {
    if (!run.settings.tmLoad) {
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

void LoadMeasurement::shutDown(RunContext&) {
    thread_.join();
}

}  // namespace calidus
