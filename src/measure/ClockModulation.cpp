#include "measure/ClockModulation.h"

#include "measure/CoreTemperatures.h"

namespace calidus {

namespace {
constexpr std::uint32_t kDefaultClockModulation = 2;
constexpr std::uint32_t kHighestClockModulation = 30;
}  // namespace

std::uint32_t clockModulationAtStart(std::uint32_t setting) {
    return setting == 0 || setting > kHighestClockModulation ? kDefaultClockModulation : setting;
}

void applyClockModulation(ProcessorAccess& access, const Edition& edition, std::uint32_t value) {
    if (edition.clockModulationKeepsDuty && (value & 0xF) <= 1) {
        value |= 2;
    }
    for (int p = 0; p <= edition.highestLogicalProcessor; ++p) {
        const std::uint32_t bit = 1u << p;
        if (access.systemMask() & bit) {
            access.pinToProcessor(bit);
            access.writeMsr(kClockModulationMsr, value, 0);
        }
    }
    access.unpin();
}

}  // namespace calidus
