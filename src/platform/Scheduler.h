#pragma once

#include <chrono>
#include <cstdint>

namespace calidus {

enum class ProcessPriority { Normal, AboveNormal };
enum class ThreadPriority { Idle, Normal, AboveNormal, TimeCritical };

// Affinity masks are 32 bits, bit n for logical processor n.
struct AffinityMasks {
    std::uint32_t process = 0;
    std::uint32_t system = 0;
};

class Scheduler {
public:
    virtual ~Scheduler() = default;

    virtual AffinityMasks affinityMasks() = 0;
    virtual bool setProcessAffinity(std::uint32_t mask) = 0;
    virtual bool setThreadAffinity(std::uint32_t mask) = 0;  // the calling thread
    virtual void setProcessPriority(ProcessPriority priority) = 0;
    virtual void setThreadPriority(ThreadPriority priority) = 0;
    // A zero duration gives up the rest of the time slice, so a new affinity takes effect.
    virtual void sleep(std::chrono::milliseconds duration) = 0;
};

}  // namespace calidus
