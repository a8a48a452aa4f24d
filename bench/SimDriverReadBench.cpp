// One register read on the simulated Core i7-920, addressed to the processor of core 1.
// 0x19C runs the thermal model; 0x1A2 is a described value.

#include <benchmark/benchmark.h>

#include "cpu/ProcessorAccess.h"
#include "platform/sim/SimulatedPlatform.h"

namespace {

using namespace calidus;

void BM_SimulatedRead(benchmark::State& state) {
    SimulatedMachineLoad machine = loadSimulatedMachine("i7-920");
    if (!machine.error.empty()) {
        state.SkipWithError(machine.error.c_str());
        return;
    }
    ProcessorAccess access(machine.platform);
    const auto index = static_cast<std::uint32_t>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(access.readMsr(2, index));
    }
}
BENCHMARK(BM_SimulatedRead)->Arg(0x19C)->Arg(0x1A2);

}  // namespace
