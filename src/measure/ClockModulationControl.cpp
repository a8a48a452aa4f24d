#include "measure/ClockModulationControl.h"

#include "common/Registers.h"
#include "measure/ClockModulation.h"

namespace calidus {

namespace {
constexpr std::uint32_t kProcessorZero = 0;
}  // namespace

void ClockModulationControl::startUp(RunContext& run) {
    applied_ = clockModulationAtStart(run.settings.clockMod);
    applyClockModulation(run.access, run.edition, applied_);
}

std::optional<std::uint32_t> ClockModulationControl::readAtExit(RunContext& run) {
    MsrValue value;
    if (!run.access.readMsr(kProcessorZero, msr::kClockModulation, value.low, value.high)) {
        return std::nullopt;
    }
    return value.low;
}

void ClockModulationControl::shutDown(RunContext& run) {
    applied_ = static_cast<std::uint32_t>(run.edition.shutdownClockModulation);
    applyClockModulation(run.access, run.edition, applied_);
}

}  // namespace calidus
