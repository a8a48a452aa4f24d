#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"

namespace calidus {

// Affinity mask of each core number; 0 marks an absent core.
struct CoreMap {
    std::array<std::uint32_t, 8> coreMask{};
    bool hyperThreading = false;
};

// Uses access.systemMask() for the processors present; one the thread may not be pinned to
// stands for no core.
CoreMap buildCoreMap(ProcessorAccess& access, const Edition& edition);

// The "Skull" setting of the standard edition (the XL edition monitors entries 4..6 and never
// calls this). Leaves at most cores 0..3; answers the CPU number the heading shows (0: none).
int selectSecondPackage(CoreMap& map, int skull);

// A two-core processor whose second core is number 2 is monitored as cores 0 and 1.
void fixCoreGap(CoreMap& map);

// A processor the thread may not be pinned to is left out.
std::string apicIdText(ProcessorAccess& access, const Edition& edition);

}  // namespace calidus
