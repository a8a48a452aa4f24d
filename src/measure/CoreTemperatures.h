#pragma once

#include <ctime>
#include <string>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"
#include "measure/MonitorSettings.h"
#include "measure/MonitorState.h"

namespace calidus {

inline constexpr std::uint32_t kThermStatusMsr = 0x19C;
inline constexpr std::uint32_t kClockModulationMsr = 0x19A;

// The moment of a tick: extremes reached in it carry this time and its "%H:%M:%S" text.
struct TickTime {
    std::time_t when = 0;
    std::string text;
};

// Reads every monitored core's sensor and clock-modulation register under one pin each and
// updates temperatures, extremes, sums, the per-core texts, the summary texts, the alarm flag
// and the thermal-status caption.
void updateCoreTemperatures(MonitorState& state, ProcessorAccess& access,
                            const MonitorSettings& settings, const Edition& edition,
                            const TickTime& time);

// Folds the hottest GPU temperature (degrees Celsius) into the GPU sample.
void updateGpuSample(MonitorState& state, int hottestCelsius, const MonitorSettings& settings,
                     const Edition& edition, std::time_t now);

// The statistics start again from now; current values and the status caption stay.
void resetStatistics(MonitorState& state, std::time_t now);

// Tenths of a degree scaled by the distance to TjMax, truncated toward zero.
int calibrationOffset(int idleTenths, int reading, bool thermalStatus, bool oldFormula);

std::string thermalStatusText(bool thermalStatus, bool thermalLog, bool shortDashes);

// The caption of the status group for the smallest duty field of the modulating cores.
std::string clockModulationCaption(bool modulationActive, int field);

}  // namespace calidus
