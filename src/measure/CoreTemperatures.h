#pragma once

#include <ctime>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"
#include "cpu/RunConfiguration.h"
#include "measure/MonitorSettings.h"
#include "measure/MonitorState.h"

namespace calidus {

// Reads every monitored core's sensor and clock-modulation register, in one batch on the
// processor that stands for each core, and updates temperatures, extremes, sums, the alarm flag
// and the smallest modulation duty field.
void updateCoreTemperatures(MonitorState& state, const RunConfiguration& config,
                            ProcessorAccess& access, const MonitorSettings& settings,
                            const Edition& edition, std::time_t now);

// Folds the hottest GPU temperature (degrees Celsius) into the GPU sample.
void updateGpuSample(MonitorState& state, int hottestCelsius, const MonitorSettings& settings,
                     const Edition& edition, std::time_t now);

// The statistics start again from now; current values and the status caption stay.
void resetStatistics(MonitorState& state, std::time_t now);

// Tenths of a degree scaled by the distance to TjMax, truncated toward zero.
int calibrationOffset(int idleTenths, int reading, bool thermalStatus, bool oldFormula);

}  // namespace calidus
