#pragma once

#include <atomic>
#include <string>

#include "platform/Scheduler.h"

namespace calidus {

// Priorities are nice values, which Linux keeps per thread: the process priority is a base that
// every thread gets, a thread priority is an offset from it (idle is always the lowest). Raising
// a priority needs root (CAP_SYS_NICE); a refused change leaves the priority as it was.
class LinuxScheduler : public Scheduler {
  public:
    // sysRoot holds devices/system/cpu/online, the processors the system mask stands for.
    explicit LinuxScheduler(std::string sysRoot = "/sys");

    // The process mask is the main thread's, whichever thread asks.
    AffinityMasks affinityMasks() override;
    bool setProcessAffinity(std::uint32_t mask) override;
    bool setThreadAffinity(std::uint32_t mask) override;
    void setProcessPriority(ProcessPriority priority) override;
    void setThreadPriority(ThreadPriority priority) override;
    void sleep(std::chrono::milliseconds duration) override;

  private:
    std::string sysRoot_;
    std::atomic<int> processNice_{0};
};

}  // namespace calidus
