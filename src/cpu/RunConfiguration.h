#pragma once

#include <cstdint>

#include "cpu/CoreCalibration.h"
#include "cpu/CoreMap.h"

namespace calidus {

// What start-up decided about the machine for the whole run: which cores exist and on which
// processors, their TjMax and calibration, and the affinity masks.
struct RunConfiguration {
    CoreMap coreMap;              // 0 marks an absent core
    CoreCalibration calibration;  // TjMax and the idle calibration, by core number
    std::uint32_t processMask = 0;
    std::uint32_t systemMask = 0;
    int headingCpu = 0;  // the package the heading names after the second-package choice

    bool corePresent(int core) const { return coreMap.coreMask[core] != 0; }
};

}  // namespace calidus
