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

std::optional<std::uint32_t> ClockModulationControl::readAtExit(RunContext& run) {
    run.access.pinToProcessor(kProcessorZero);
    MsrValue value;
    const bool read = run.access.readMsr(kClockModulationMsr, value.low, value.high);
    run.access.unpin();
    if (!read) {
        return std::nullopt;
    }
    return value.low;
}

void ClockModulationControl::shutDown(RunContext& run) {
    applied_ = static_cast<std::uint32_t>(run.edition.shutdownClockModulation);
    applyClockModulation(run.access, run.edition, applied_);
}

}  // namespace calidus
