#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <thread>

#include "platform/Scheduler.h"

namespace calidus {

// The affinity masks of the simulated machine's logical processors: one per thread that set its
// own, the process mask for every other thread. A thread runs on the lowest processor of its mask.
// Every affinity change that moves the calling thread to another processor counts as a migration
// of that thread.
class ThreadAffinity {
  public:
    explicit ThreadAffinity(int processors);

    AffinityMasks masks() const;
    // Both refuse an empty mask and processors outside the process (or, for the process, the
    // machine); a new process mask becomes every thread's mask.
    bool setProcessMask(std::uint32_t mask);
    bool setThreadMask(std::uint32_t mask);
    int currentProcessor() const;
    int migrations() const;  // of the calling thread

  private:
    int processorOf(std::thread::id thread) const;
    void countMove(int before);  // with the lock held

    const std::uint32_t systemMask_;
    mutable std::mutex mutex_;
    std::uint32_t processMask_;
    std::map<std::thread::id, std::uint32_t> threadMasks_;
    std::map<std::thread::id, int> migrations_;
};

}  // namespace calidus
