#pragma once

#include <cstdint>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"

namespace calidus {

// The value start-up applies for the "ClockMod" setting: 0 and anything above 30 mean 2.
std::uint32_t clockModulationAtStart(std::uint32_t setting);

// Writes the value into the clock-modulation register of every logical processor present.
void applyClockModulation(ProcessorAccess& access, const Edition& edition, std::uint32_t value);

}  // namespace calidus
