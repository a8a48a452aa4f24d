#include "measure/ClockModulation.h"

namespace calidus {

namespace {
constexpr std::uint32_t kDefaultClockModulation = 2;
constexpr std::uint32_t kHighestClockModulation = 30;
}  // namespace

std::uint32_t clockModulationAtStart(std::uint32_t setting) {
    return setting == 0 || setting > kHighestClockModulation ? kDefaultClockModulation : setting;
}

std::uint32_t withEditionDuty(const Edition& edition, std::uint32_t value) {
    return edition.clockModulationKeepsDuty && (value & 0xF) <= 1 ? value | 2 : value;
}

std::uint32_t applyClockModulation(ProcessorAccess& access, const Edition& edition,
                                   std::uint32_t value) {
    value = withEditionDuty(edition, value);
    for (int p = 0; p <= edition.highestLogicalProcessor; ++p) {
        if (access.systemMask() & (1u << p)) {
            access.updateMsr(static_cast<std::uint32_t>(p), msr::kClockModulation,
                             [value](MsrValue current) {
                                 if (!modulates(current.low) && !modulates(value)) {
                                     return current;
                                 }
                                 return MsrValue{value, 0};
                             });
        }
    }
    return value;
}

}  // namespace calidus
