#pragma once

#include <cstdint>

#include "common/Edition.h"
#include "common/Registers.h"
#include "cpu/ProcessorAccess.h"

namespace calidus {

// The value start-up applies for the "ClockMod" setting: 0 and anything above 30 mean 2.
std::uint32_t clockModulationAtStart(std::uint32_t setting);

// Whether the register's value switches on-demand modulation on (bit 4).
constexpr bool modulates(std::uint32_t low) {
    return (low & msr::kModulationOn) != 0;
}

// The value as the edition applies it: the XL edition keeps a duty code when none is given.
std::uint32_t withEditionDuty(const Edition& edition, std::uint32_t value);

// Sets the clock-modulation register of every logical processor present to the value; one that
// cannot be read is left alone. A value that keeps modulation off over one that has it off is no
// change of the processor's behaviour and is not written: every register write is logged by the
// kernel and taints it. Answers the value as applied, after the edition's duty rule.
std::uint32_t applyClockModulation(ProcessorAccess& access, const Edition& edition,
                                   std::uint32_t value);

}  // namespace calidus
