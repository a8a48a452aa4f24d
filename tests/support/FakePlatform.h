#pragma once

// A hand-set machine for unit tests: registers and CPUID answers per logical processor,
// a scheduler that only remembers masks, and a clock that moves when told.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
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
    std::vector<std::pair<int, std::uint32_t>> msrReads;   // (cpu, index), in order
    std::vector<std::pair<int, std::uint32_t>> msrWrites;  // (cpu, index), in order
    std::vector<std::uint32_t> threadMaskHistory;
    std::vector<std::uint32_t> processMaskHistory;
    int zeroSleeps = 0;
    std::int64_t sleptMs = 0;
    std::int64_t counter = 0;
    std::time_t now = 1'700'000'000;
    std::vector<std::string> programsStarted;
    LaunchOutcome launchOutcome = LaunchOutcome::Started;
    std::vector<std::string> soundsPlayed;

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
        if (m_.failingMsr.count(index)) {
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
        m_.threadMaskHistory.push_back(mask);
        if ((mask & m_.cpuset) == 0) {
            return false;
        }
        m_.threadMask = mask & m_.cpuset;
        return true;
    }
    void setProcessPriority(ProcessPriority) override {}
    void setThreadPriority(ThreadPriority) override {}
    void sleep(std::chrono::milliseconds d) override {
        if (d.count() == 0) {
            ++m_.zeroSleeps;
        }
        m_.sleptMs += d.count();
        m_.counter += d.count() * 1000;
    }

  private:
    FakeMachine& m_;
};

class FakeClock : public Clock {
  public:
    explicit FakeClock(FakeMachine& m) : m_(m) {}
    std::int64_t counter() override { return m_.counter; }
    std::int64_t counterFrequency() override { return 1'000'000; }
    std::uint32_t tickCount() override { return static_cast<std::uint32_t>(m_.counter / 1000); }
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
    std::optional<ProcessId> start(const std::filesystem::path& program) override {
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
