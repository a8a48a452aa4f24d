#pragma once

#include <cstdint>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"

namespace calidus {

// The value start-up applies for the "ClockMod" setting: 0 and anything above 30 mean 2.
std::uint32_t clockModulationAtStart(std::uint32_t setting);

// Sets the clock-modulation register of every logical processor present to the value; one that
// cannot be read is left alone.
void applyClockModulation(ProcessorAccess& access, const Edition& edition, std::uint32_t value);

}  // namespace calidus
