// The register helper's cost per tick of the simulated Core i7-920 (four cores on logical
// processors 0, 2, 4, 6; eight logical processors): each core's thermal status and clock
// modulation, and the fixed-counter control of every processor, through the stand-in helper
// calidus-msr-fake over its sparse device tree. Batched, the tick is one round trip; one record
// at a time shows what the batch saves. The devices are files, so the kernel's RDMSR is not in
// the figures: only the pipes, the helper and its allow-list. The engine's own tick through the
// program's driver over the same helper shows how many round trips the program really makes.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/ConsoleDesktop.h"
#include "app/Engine.h"
#include "platform/linux/HelperRegisters.h"
#include "platform/linux/LinuxDriverLibrary.h"
#include "platform/linux/MsrHelperClient.h"
#include "platform/sim/SimulatedPlatform.h"

namespace {

using namespace calidus;

constexpr int kLogicalProcessors = 8;
constexpr std::uint32_t kCoreProcessors[] = {0, 2, 4, 6};

void makeDeviceTree() {
    const std::filesystem::path root = std::filesystem::path(CALIDUS_FAKE_MSR) / "cpu";
    std::filesystem::remove_all(root);
    for (int cpu = 0; cpu < kLogicalProcessors; ++cpu) {
        const std::filesystem::path device = root / std::to_string(cpu) / "msr";
        std::filesystem::create_directories(device.parent_path());
        std::ofstream{device};
        std::filesystem::resize_file(device, 0x1000);
    }
}

std::vector<HelperRecord> tickReads() {
    std::vector<HelperRecord> reads;
    auto add = [&](std::uint32_t processor, std::uint32_t index) {
        HelperRecord record;
        record.processor = processor;
        record.index = index;
        reads.push_back(record);
    };
    for (const std::uint32_t processor : kCoreProcessors) {
        add(processor, 0x19C);
        add(processor, 0x19A);
    }
    for (std::uint32_t processor = 0; processor < kLogicalProcessors; ++processor) {
        add(processor, 0x38D);
    }
    return reads;
}

void runTicks(benchmark::State& state, bool batched) {
    makeDeviceTree();
    MsrHelperClient helper({CALIDUS_FAKE_HELPER});
    if (helper.start() != RegisterAccessProblem::None) {
        state.SkipWithError("the stand-in helper did not start");
        return;
    }
    const std::vector<HelperRecord> reads = tickReads();
    std::vector<HelperRecord> tick = reads;
    for (auto _ : state) {
        tick = reads;
        if (batched) {
            helper.exchange(tick);
        } else {
            for (HelperRecord& record : tick) {
                helper.exchange({&record, 1});
            }
        }
        benchmark::DoNotOptimize(tick.data());
    }
    state.counters["round trips per tick"] =
        static_cast<double>(helper.roundTrips()) / static_cast<double>(state.iterations());
    state.counters["records per tick"] = static_cast<double>(reads.size());
    helper.goodbye();
}

void BM_HelperTickBatched(benchmark::State& state) {
    runTicks(state, true);
}
BENCHMARK(BM_HelperTickBatched)->Unit(benchmark::kMicrosecond);

void BM_HelperTickOneRecordAtATime(benchmark::State& state) {
    runTicks(state, false);
}
BENCHMARK(BM_HelperTickOneRecordAtATime)->Unit(benchmark::kMicrosecond);

// Counts the round trips of the path it passes through.
class CountedPath : public RegisterPath {
  public:
    CountedPath(std::unique_ptr<RegisterPath> path, std::uint64_t& trips)
        : path_(std::move(path)), trips_(trips) {}

    RegisterAccessProblem open() override { return path_->open(); }
    bool exchange(std::span<HelperRecord> records) override {
        trips_ += (records.size() + kHelperBatchLimit - 1) / kHelperBatchLimit;
        return path_->exchange(records);
    }
    void close() override { path_->close(); }

  private:
    std::unique_ptr<RegisterPath> path_;
    std::uint64_t& trips_;
};

// The simulated i7-920's identification and processors, its registers those of the fake tree.
void BM_EngineTickThroughHelper(benchmark::State& state) {
    makeDeviceTree();
    SimulatedMachineLoad load = loadSimulatedMachine("i7-920");
    std::uint64_t trips = 0;
    load.platform.driver = std::make_unique<LinuxDriverLibrary>(std::make_unique<CountedPath>(
        std::make_unique<HelperRegisters>("/usr/bin/env", CALIDUS_FAKE_HELPER), trips));
    std::ostringstream errors;
    ConsoleDesktop desktop(errors);
    {
        Engine engine(Edition::standard(), load.platform, desktop, desktop);
        if (engine.start().outcome != StartOutcome::Ready) {
            state.SkipWithError(errors.str().c_str());
            return;
        }
        const std::uint64_t before = trips;
        for (auto _ : state) {
            engine.runTick();
        }
        state.counters["round trips per tick"] =
            static_cast<double>(trips - before) / static_cast<double>(state.iterations());
    }
}
BENCHMARK(BM_EngineTickThroughHelper)->Unit(benchmark::kMicrosecond);

}  // namespace
