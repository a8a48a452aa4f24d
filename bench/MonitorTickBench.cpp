#include <benchmark/benchmark.h>

#include "app/ConsoleDesktop.h"
#include "app/Engine.h"
#include "measure/CoreTemperatures.h"
#include "platform/sim/SimulatedPlatform.h"

#include <sstream>

namespace calidus {
namespace {

// One tick of the engine on the simulated four-core i7-920: the temperature update, the
// desktop hooks and the fixed-counter check on every processor.
void BM_EngineTick(benchmark::State& run) {
    SimulatedMachineLoad load = loadSimulatedMachine("i7-920");
    if (!load.error.empty()) {
        run.SkipWithError(load.error.c_str());
        return;
    }
    std::ostringstream errors;
    ConsoleDesktop desktop(errors);
    Engine engine(Edition::standard(), load.platform, desktop, desktop);
    if (engine.start().outcome != StartOutcome::Ready) {
        run.SkipWithError(errors.str().c_str());
        return;
    }
    for (auto _ : run) {
        engine.runTick();
    }
    benchmark::DoNotOptimize(engine.state().tickCount);
}
BENCHMARK(BM_EngineTick);

// The temperature part alone: one batch of the four cores' sensor and clock-modulation reads.
void BM_UpdateCoreTemperatures(benchmark::State& run) {
    SimulatedMachineLoad load = loadSimulatedMachine("i7-920");
    if (!load.error.empty()) {
        run.SkipWithError(load.error.c_str());
        return;
    }
    ProcessorAccess access(load.platform);
    const std::uint32_t systemMask = load.platform.scheduler->affinityMasks().system;
    access.setSystemMask(systemMask);
    MonitorState state;
    RunConfiguration config;
    config.systemMask = systemMask;
    config.coreMap = buildCoreMap(access, Edition::standard());
    const MonitorSettings settings;
    for (auto _ : run) {
        ++state.tickCount;
        updateCoreTemperatures(state, config, access, settings, Edition::standard(), 0);
    }
    benchmark::DoNotOptimize(state.cores[0].temperature);
}
BENCHMARK(BM_UpdateCoreTemperatures);

}  // namespace
}  // namespace calidus
