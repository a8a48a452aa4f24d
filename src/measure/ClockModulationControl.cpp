#include "measure/ClockModulationControl.h"

#include "common/Registers.h"
#include "measure/ClockModulation.h"

namespace calidus {

namespace {
constexpr std::uint32_t kProcessorZero = 0;
}  // namespace

void ClockModulationControl::startUp(RunContext& run) {
    applied_ = applyClockModulation(run.access, run.edition,
                                    clockModulationAtStart(run.settings.clockMod));
}

std::optional<std::uint32_t> ClockModulationControl::readAtExit(RunContext& run) {
    MsrValue value;
    if (!run.access.readMsr(kProcessorZero, msr::kClockModulation, value.low, value.high)) {
        return std::nullopt;
    }
    // A duty chosen while modulation stays off was never written, yet it is the one chosen.
    if (!modulates(value.low) && !modulates(applied_)) {
        return applied_;
    }
    return value.low;
}

void ClockModulationControl::shutDown(RunContext& run) {
    applied_ = applyClockModulation(
        run.access, run.edition, static_cast<std::uint32_t>(run.edition.shutdownClockModulation));
}

}  // namespace calidus
