#pragma once

#include <cstdint>

#include "platform/Processor.h"
#include "platform/sim/MachineDescription.h"

namespace calidus {

// What CPUID answers on one logical processor of the described machine; leaves it does not
// describe read as zeros.
CpuidResult simulatedCpuid(const MachineDescription& machine, int processor, std::uint32_t leaf,
                           std::uint32_t subleaf);

}  // namespace calidus
