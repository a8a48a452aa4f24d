// One pinned register read on the simulated Core i7-920, as the monitoring cycle does per core:
// pin, yield, read, unpin. 0x19C runs the thermal model; 0x1A2 is a described value.

#include <benchmark/benchmark.h>

#include "cpu/ProcessorAccess.h"
#include "platform/sim/SimulatedPlatform.h"

namespace {

using namespace calidus;

void BM_SimulatedPinnedRead(benchmark::State& state) {
    SimulatedMachineLoad machine = loadSimulatedMachine("i7-920");
    if (!machine.error.empty()) {
        state.SkipWithError(machine.error.c_str());
        return;
    }
    ProcessorAccess access(machine.platform);
    access.setSystemMask(machine.platform.scheduler->affinityMasks().system);
    const auto index = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        access.pinToProcessor(0x4);
        benchmark::DoNotOptimize(access.readMsr(index));
        access.unpin();
    }
}
BENCHMARK(BM_SimulatedPinnedRead)->Arg(0x19C)->Arg(0x1A2);

}  // namespace
