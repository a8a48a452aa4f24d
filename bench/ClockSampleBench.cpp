// The clock measurement's register work of one tick: the fixed counters, time-stamp counter and
// ratio registers of every processor sampled, then the fixed counters kept enabled, as the
// engine does after every tick. On the simulated i7-920 (8 logical processors), and through the
// msr devices over sparse files, which measures our own path and the system calls, not the
// kernel module's RDMSR. "migrations" counts per tick how often the monitoring thread moved to
// another processor.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "FakeDeviceTree.h"
#include "measure/ClockMeasurement.h"
#include "measure/FixedCounters.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/InProcessRegisters.h"
#include "platform/linux/LinuxDriverLibrary.h"
#include "platform/linux/LinuxProcessor.h"
#include "platform/linux/LinuxScheduler.h"
#include "platform/sim/SimScheduler.h"
#include "platform/sim/SimulatedPlatform.h"

namespace calidus {
namespace {

// The kernel's own count for the calling thread.
long long kernelMigrations() {
    std::ifstream sched("/proc/thread-self/sched");
    for (std::string line; std::getline(sched, line);) {
        if (line.starts_with("se.nr_migrations")) {
            return std::stoll(line.substr(line.find(':') + 1));
        }
    }
    return 0;
}

// The run a clock measurement takes part in, on an i7-920's identification.
struct ClockRig {
    explicit ClockRig(Platform& p) : platform(p), access(p) {
        const AffinityMasks masks = platform.scheduler->affinityMasks();
        config.processMask = masks.process;
        config.systemMask = masks.process;
        access.setSystemMask(masks.process);
        processor.cpuSignature = 0x106A5;
        processor.platformInfoClass = true;
        clock.snapshotCounters(run, processor);
        clock.applySettings(settings);
    }

    void tick() {
        clock.tick(run);
        enableFixedCounters(access, Edition::standard().highestLogicalProcessor);
    }

    Platform& platform;
    ProcessorAccess access;
    Settings settings;
    RunConfiguration config;
    MonitorState state;
    ThreadControl threads;
    ProcessorInfo processor;
    RunContext run{Edition::standard(), platform, access, settings, config, state, threads};
    LoadMeasurement load;
    ClockMeasurement clock{load};
};

void BM_ClockTickSimulated(benchmark::State& state) {
    SimulatedMachineLoad machine = loadSimulatedMachine("i7-920");
    if (!machine.error.empty()) {
        state.SkipWithError(machine.error.c_str());
        return;
    }
    const auto& scheduler = static_cast<const SimScheduler&>(*machine.platform.scheduler);
    ClockRig rig(machine.platform);
    const int before = scheduler.migrations();
    for (auto _ : state) {
        rig.tick();
    }
    benchmark::DoNotOptimize(rig.state.clock.load);
    state.counters["migrations"] = benchmark::Counter(
        static_cast<double>(scheduler.migrations() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ClockTickSimulated);

void BM_ClockTickLinuxDevices(benchmark::State& state) {
    auto scheduler = std::make_unique<LinuxScheduler>();
    const std::filesystem::path root = makeDeviceTree(scheduler->affinityMasks().process);
    Platform platform;
    platform.scheduler = std::move(scheduler);
    platform.processor = std::make_unique<LinuxProcessor>();
    platform.clock = std::make_unique<LinuxClock>();
    platform.driver = std::make_unique<LinuxDriverLibrary>(
            std::make_unique<InProcessRegisters>(root.string(), [] { return false; }));
        platform.driver->start();
    {
        ClockRig rig(platform);
        const long long before = kernelMigrations();
        for (auto _ : state) {
            rig.tick();
        }
        state.counters["migrations"] = benchmark::Counter(
            static_cast<double>(kernelMigrations() - before), benchmark::Counter::kAvgIterations);
    }
    platform.driver->stop();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_ClockTickLinuxDevices);

}  // namespace
}  // namespace calidus
