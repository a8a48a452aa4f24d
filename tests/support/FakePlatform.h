#pragma once

// A hand-set machine for unit tests: registers and CPUID answers per logical processor,
// a scheduler that only remembers masks, and a clock that moves when told.
//
// Time moves only with the sleeps of the thread that made the machine (the test's). Any other
// thread (the clock and load threads) waits in its sleeps until the test's sleeps have moved the
// counter past its wake time, and a sleep of the test returns only once every thread known to
// the machine (from its first call) sleeps or has ended, so worker threads run in step with the
// test.

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace calidus::testing {

struct FakeMachine {
    std::uint32_t processMask = 0xFF;
    std::uint32_t systemMask = 0xFF;
    std::uint32_t threadMask = 0xFF;
    std::uint32_t cpuset = 0xFFFFFFFF;  // a thread mask with none of these is refused
    std::uint32_t driverStatus = 0;
    bool msrAvailable = true;
    bool started = false;
    bool stopped = false;
    std::map<std::pair<int, std::uint32_t>, std::uint64_t> msr;  // (cpu, index) -> value
    std::map<std::pair<int, std::uint32_t>, CpuidResult> cpuid;  // (cpu, leaf) -> answer
    std::set<std::uint32_t> failingMsr;
    bool writesRefused = false;                            // reads work, every write fails
    std::vector<std::pair<int, std::uint32_t>> msrReads;   // (cpu, index), in order
    std::vector<std::pair<int, std::uint32_t>> msrWrites;  // (cpu, index), in order
    std::vector<std::uint32_t> threadMaskHistory;
    std::vector<std::uint32_t> processMaskHistory;
    int zeroSleeps = 0;
    std::int64_t sleptMs = 0;              // by the test's thread
    std::atomic<std::int64_t> counter{0};  // microseconds
    std::time_t now = 1'700'000'000;
    std::vector<std::string> programsStarted;
    LaunchOutcome launchOutcome = LaunchOutcome::Started;
    std::vector<std::string> soundsPlayed;
    const std::thread::id owner = std::this_thread::get_id();

    bool onOwnerThread() const { return std::this_thread::get_id() == owner; }

    // The test's sleep: time moves on as it would, through the wake time of every thread
    // sleeping meanwhile, each woken thread running until it sleeps again.
    void advance(std::int64_t microseconds) {
        std::unique_lock lock(sleepMutex_);
        const auto settle = [&] {
            return sleepChanged_.wait_for(lock, kSettleLimit, [this] { return settled(); });
        };
        settle();
        const std::int64_t target = counter + microseconds;
        while (!workerWakes_.empty() && *workerWakes_.begin() <= target) {
            counter = std::max(counter.load(), *workerWakes_.begin());
            sleepChanged_.notify_all();
            if (!settle()) {
                break;
            }
        }
        counter = target;
        sleepChanged_.notify_all();
        settle();
    }

    // Another thread makes itself known with its first call, and the test's sleeps wait for it
    // from then on.
    void workerStarts() {
        const std::lock_guard lock(sleepMutex_);
        WorkerPresence& presence = WorkerPresence::ofThisThread();
        if (presence.machine == nullptr) {
            presence.machine = this;
            presence.awake = true;
            ++workersAwake_;
        }
    }

    // Another thread's sleep.
    void workerSleep(std::int64_t microseconds) {
        workerStarts();
        std::unique_lock lock(sleepMutex_);
        WorkerPresence& presence = WorkerPresence::ofThisThread();
        presence.awake = false;
        --workersAwake_;
        const std::int64_t wake = counter + microseconds;
        const auto parked = workerWakes_.insert(wake);
        sleepChanged_.notify_all();
        sleepChanged_.wait(lock, [&] { return counter.load() >= wake; });
        workerWakes_.erase(parked);
        ++workersAwake_;
        presence.awake = true;
    }

    // Until this many other threads sleep, so that the test moves time from a known point.
    void awaitSleepingWorkers(std::size_t count) {
        std::unique_lock lock(sleepMutex_);
        sleepChanged_.wait_for(lock, kSettleLimit,
                               [&] { return workerWakes_.size() >= count && settled(); });
    }

    // The processor a pinned thread lands on: the lowest bit of its mask.
    int currentCpu() const { return threadMask == 0 ? 0 : std::countr_zero(threadMask); }

    void setMsr(int cpu, std::uint32_t index, std::uint64_t value) { msr[{cpu, index}] = value; }
    std::uint64_t getMsr(int cpu, std::uint32_t index) const {
        auto it = msr.find({cpu, index});
        return it == msr.end() ? 0 : it->second;
    }
    void setCpuid(int cpu, std::uint32_t leaf, CpuidResult result) { cpuid[{cpu, leaf}] = result; }
    // The brand leaves 0x80000002..4, each register low byte first, NUL padded.
    void setBrand(std::string_view brand) {
        char bytes[48] = {};
        std::memcpy(bytes, brand.data(), std::min(brand.size(), sizeof bytes));
        setCpuid(0, 0x80000000, CpuidResult{.eax = 0x80000008});
        for (std::uint32_t leaf = 0; leaf < 3; ++leaf) {
            std::uint32_t regs[4];
            std::memcpy(regs, bytes + 16 * leaf, sizeof regs);
            setCpuid(0, 0x80000002 + leaf, CpuidResult{regs[0], regs[1], regs[2], regs[3]});
        }
    }
    // Leaf 1 EBX with an initial APIC id and logical-per-package count.
    void setApicId(int cpu, std::uint32_t apic, std::uint32_t logicalPerPackage) {
        CpuidResult r = cpuid[{cpu, 1}];
        r.ebx = (apic << 24) | (logicalPerPackage << 16);
        cpuid[{cpu, 1}] = r;
    }

  private:
    // A stuck thread shows as a slow test, not a hung one.
    static constexpr std::chrono::seconds kSettleLimit{10};

    // Ends a worker's turn when its thread ends.
    struct WorkerPresence {
        static WorkerPresence& ofThisThread() {
            thread_local WorkerPresence presence;
            return presence;
        }
        FakeMachine* machine = nullptr;
        bool awake = false;
        ~WorkerPresence() {
            if (machine != nullptr && awake) {
                const std::lock_guard lock(machine->sleepMutex_);
                --machine->workersAwake_;
                machine->sleepChanged_.notify_all();
            }
        }
    };

    bool settled() const {
        return workersAwake_ == 0 && (workerWakes_.empty() || *workerWakes_.begin() > counter);
    }

    std::mutex sleepMutex_;
    std::condition_variable sleepChanged_;
    std::multiset<std::int64_t> workerWakes_;
    int workersAwake_ = 0;  // woken by the test's sleep and not asleep again
};

class FakeDriver : public DriverLibrary {
  public:
    explicit FakeDriver(FakeMachine& m) : m_(m) {}
    void start() override { m_.started = true; }
    std::uint32_t status() override { return m_.driverStatus; }
    bool msrAvailable() override { return m_.msrAvailable; }
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override {
        m_.msrReads.emplace_back(static_cast<int>(processor), index);
        if (m_.failingMsr.count(index)) {
            return false;
        }
        const std::uint64_t v = m_.getMsr(static_cast<int>(processor), index);
        low = static_cast<std::uint32_t>(v);
        high = static_cast<std::uint32_t>(v >> 32);
        return true;
    }
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override {
        if (m_.failingMsr.count(index) || m_.writesRefused) {
            return false;
        }
        const int cpu = static_cast<int>(processor);
        m_.msrWrites.emplace_back(cpu, index);
        m_.setMsr(cpu, index, (std::uint64_t{high} << 32) | low);
        return true;
    }
    void stop() override { m_.stopped = true; }

  private:
    FakeMachine& m_;
};

class FakeProcessor : public Processor {
  public:
    explicit FakeProcessor(FakeMachine& m) : m_(m) {}
    CpuidResult cpuid(std::uint32_t leaf, std::uint32_t) override {
        auto it = m_.cpuid.find({m_.currentCpu(), leaf});
        if (it != m_.cpuid.end()) {
            return it->second;
        }
        it = m_.cpuid.find({0, leaf});  // processor 0 answers for all unless told otherwise
        return it == m_.cpuid.end() ? CpuidResult{} : it->second;
    }
    std::uint64_t rdtsc() override { return static_cast<std::uint64_t>(m_.counter) * 3; }

  private:
    FakeMachine& m_;
};

class FakeScheduler : public Scheduler {
  public:
    explicit FakeScheduler(FakeMachine& m) : m_(m) {}
    AffinityMasks affinityMasks() override { return {m_.processMask, m_.systemMask}; }
    bool setProcessAffinity(std::uint32_t mask) override {
        m_.processMask = mask;
        m_.processMaskHistory.push_back(mask);
        m_.threadMask = mask;
        return true;
    }
    bool setThreadAffinity(std::uint32_t mask) override {
        if (!m_.onOwnerThread()) {
            // A worker thread pins itself; the test's thread stays where it is.
            return (mask & m_.cpuset) != 0;
        }
        m_.threadMaskHistory.push_back(mask);
        if ((mask & m_.cpuset) == 0) {
            return false;
        }
        m_.threadMask = mask & m_.cpuset;
        return true;
    }
    void setProcessPriority(ProcessPriority) override {}
    void setThreadPriority(ThreadPriority) override {
        if (!m_.onOwnerThread()) {
            m_.workerStarts();
        }
    }
    void sleep(std::chrono::milliseconds d) override {
        if (!m_.onOwnerThread()) {
            if (d.count() == 0) {
                std::this_thread::yield();
            } else {
                m_.workerSleep(d.count() * 1000);
            }
            return;
        }
        if (d.count() == 0) {
            ++m_.zeroSleeps;
        }
        m_.sleptMs += d.count();
        m_.advance(d.count() * 1000);
    }

  private:
    FakeMachine& m_;
};

class FakeClock : public Clock {
  public:
    explicit FakeClock(FakeMachine& m) : m_(m) {}
    std::int64_t counter() override { return m_.counter; }
    std::int64_t counterFrequency() override { return 1'000'000; }
    std::uint32_t tickCount() override {
        return static_cast<std::uint32_t>(m_.counter.load() / 1000);
    }
    std::time_t now() override { return m_.now; }
    std::tm localTime(std::time_t when) override {
        std::tm t{};
        const long day = static_cast<long>(when % 86400);
        t.tm_hour = static_cast<int>(day / 3600);
        t.tm_min = static_cast<int>(day / 60 % 60);
        t.tm_sec = static_cast<int>(day % 60);
        t.tm_mday = 1;
        t.tm_year = 124;
        return t;
    }

  private:
    FakeMachine& m_;
};

// Starts nothing: remembers what it was asked to start and answers as told.
class FakeLauncher : public ProcessLauncher {
  public:
    explicit FakeLauncher(FakeMachine& m) : m_(m) {}
    LaunchResult startDetached(const std::filesystem::path& program) override {
        m_.programsStarted.push_back(program.string());
        return {m_.launchOutcome, m_.launchOutcome == LaunchOutcome::Failed ? "refused" : ""};
    }
    // Kept programs end at once.
    std::optional<ProcessId> start(const std::filesystem::path& program,
                                   const std::vector<std::string>&) override {
        m_.programsStarted.push_back(program.string());
        return static_cast<ProcessId>(m_.programsStarted.size());
    }
    bool running(ProcessId) override { return false; }
    void end(ProcessId, std::chrono::milliseconds) override {}
    bool setAffinity(ProcessId, std::uint32_t) override { return true; }

  private:
    FakeMachine& m_;
};

class FakeSoundPlayer : public SoundPlayer {
  public:
    explicit FakeSoundPlayer(FakeMachine& m) : m_(m) {}
    void play(const std::filesystem::path& file) override {
        m_.soundsPlayed.push_back(file.string());
    }

  private:
    FakeMachine& m_;
};

inline Platform makeFakePlatform(FakeMachine& machine) {
    Platform p;
    p.driver = std::make_unique<FakeDriver>(machine);
    p.processor = std::make_unique<FakeProcessor>(machine);
    p.scheduler = std::make_unique<FakeScheduler>(machine);
    p.clock = std::make_unique<FakeClock>(machine);
    p.launcher = std::make_unique<FakeLauncher>(machine);
    p.sound = std::make_unique<FakeSoundPlayer>(machine);
    return p;
}

}  // namespace calidus::testing
