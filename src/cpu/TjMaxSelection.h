#pragma once

#include <string_view>

#include "common/Edition.h"
#include "cpu/CoreCalibration.h"
#include "cpu/CoreMap.h"
#include "cpu/ProcessorAccess.h"
#include "cpu/ProcessorInfo.h"

namespace calidus {

// TjMax by signature and model number, the mobile flag and the model text the window shows.
// Answers whether the clock thread is to be stopped early (killMHz).
bool chooseTjMaxFromTables(ProcessorInfo& info, CoreCalibration& calibration,
                           const Edition& edition);

// Newer processors report TjMax themselves in MSR 0x1A2, read on each present core.
void chooseTjMaxFromProcessor(ProcessorAccess& access, const ProcessorInfo& info,
                              const CoreMap& map, CoreCalibration& calibration,
                              const Edition& edition);

// An "Idle%d" text in tenths of a degree, rounded half away from zero; 0 outside -19.9..9.9.
int idleTenths(std::string_view text);

// The "KillMHz" setting: 29 lets a flagged processor's clock thread run, anything else non-zero
// flags any processor.
bool killMHzAfterSetting(bool killMHz, int setting);

}  // namespace calidus
