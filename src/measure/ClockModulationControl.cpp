#include "measure/ClockModulationControl.h"

#include "measure/ClockModulation.h"
#include "measure/CoreTemperatures.h"

namespace calidus {

namespace {
constexpr std::uint32_t kProcessorZero = 1;
}  // namespace

void ClockModulationControl::startUp(RunContext& run) {
    applied_ = clockModulationAtStart(run.settings.clockMod);
    applyClockModulation(run.access, run.edition, applied_);
}

std::uint32_t ClockModulationControl::readAtExit(RunContext& run) {
    run.access.pinToProcessor(kProcessorZero);
    const std::uint32_t value = run.access.readMsr(kClockModulationMsr).low;
    run.access.unpin();
    return value;
}

void ClockModulationControl::shutDown(RunContext& run) {
    applied_ = static_cast<std::uint32_t>(run.edition.shutdownClockModulation);
    applyClockModulation(run.access, run.edition, applied_);
}

}  // namespace calidus
