#include "platform/linux/LinuxScheduler.h"

#include <sched.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/linux/CpuList.h"

namespace calidus {

namespace {

constexpr int kHighestNice = 19;
constexpr int kLowestNice = -20;

std::uint32_t toMask(const cpu_set_t& set) {
    std::uint32_t mask = 0;
    for (int cpu = 0; cpu < 32; ++cpu) {
        if (CPU_ISSET(cpu, &set)) {
            mask |= std::uint32_t{1} << cpu;
        }
    }
    return mask;
}

// Every thread of this process by its thread id; a thread that ends meanwhile is simply missed.
std::vector<pid_t> processThreads() {
    std::vector<pid_t> threads;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task", error)) {
        const std::string name = entry.path().filename().string();
        pid_t tid = 0;
        if (std::from_chars(name.data(), name.data() + name.size(), tid).ec == std::errc()) {
            threads.push_back(tid);
        }
    }
    return threads;
}

int threadNiceOffset(ThreadPriority priority) {
    switch (priority) {
        case ThreadPriority::AboveNormal:
            return -2;
        case ThreadPriority::TimeCritical:
            return -10;
        case ThreadPriority::Idle:
        case ThreadPriority::Normal:
            break;
    }
    return 0;
}

}  // namespace

LinuxScheduler::LinuxScheduler(std::string sysRoot) : sysRoot_(std::move(sysRoot)) {}

AffinityMasks LinuxScheduler::affinityMasks() {
    AffinityMasks masks;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(getpid(), sizeof set, &set) == 0) {
        masks.process = toMask(set);
    }
    std::ifstream online(sysRoot_ + "/devices/system/cpu/online");
    std::stringstream text;
    text << online.rdbuf();
    const std::optional<std::uint32_t> system = parseCpuList(text.str());
    masks.system = system.value_or(0) != 0 ? *system : masks.process;
    return masks;
}

bool LinuxScheduler::setProcessAffinity(std::uint32_t mask) {
    const cpu_set_t set = cpuSetOf(mask);
    const std::vector<pid_t> threads = processThreads();
    if (threads.empty()) {  // no /proc: the calling thread at least
        return sched_setaffinity(0, sizeof set, &set) == 0;
    }
    bool applied = true;
    for (const pid_t tid : threads) {
        if (sched_setaffinity(tid, sizeof set, &set) != 0 && errno != ESRCH) {
            applied = false;
        }
    }
    return applied;
}

bool LinuxScheduler::setThreadAffinity(std::uint32_t mask) {
    const cpu_set_t set = cpuSetOf(mask);
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

void LinuxScheduler::setProcessPriority(ProcessPriority priority) {
    processNice_ = priority == ProcessPriority::AboveNormal ? -5 : 0;
    for (const pid_t tid : processThreads()) {
        setpriority(PRIO_PROCESS, static_cast<id_t>(tid), processNice_);
    }
}

void LinuxScheduler::setThreadPriority(ThreadPriority priority) {
    const int nice =
        priority == ThreadPriority::Idle
            ? kHighestNice
            : std::clamp(processNice_ + threadNiceOffset(priority), kLowestNice, kHighestNice);
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), nice);
}

void LinuxScheduler::sleep(std::chrono::milliseconds duration) {
    if (duration.count() <= 0) {
        sched_yield();
        return;
    }
    timespec remaining{static_cast<time_t>(duration.count() / 1000),
                       static_cast<long>(duration.count() % 1000) * 1'000'000};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

}  // namespace calidus
