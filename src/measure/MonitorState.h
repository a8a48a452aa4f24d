#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "cpu/CoreCalibration.h"
#include "cpu/CoreMap.h"

namespace calidus {

// Every per-core table is indexed by core number 0..7; the edition decides which are monitored.
inline constexpr int kCoreNumbers = 8;

inline constexpr int kMinTemperatureStart = 256;
inline constexpr int kMaxTemperatureStart = -64;
inline constexpr int kMinReadingStart = 128;
inline constexpr int kMaxReadingStart = -64;
// No register field has this value, so the first tick always sets the caption.
inline constexpr int kNoClockModulationField = 32;

struct CoreSample {
    int reading = 0;  // degrees below TjMax, always in degrees Celsius
    bool thermalStatus = false;
    bool thermalLog = false;
    std::string statusText;
    int temperature = 0;  // display unit
    int minTemperature = kMinTemperatureStart;
    int maxTemperature = kMaxTemperatureStart;
    std::time_t minTime = 0;
    std::time_t maxTime = 0;
    int minReading = kMinReadingStart;
    int maxReading = kMaxReadingStart;
    std::int64_t temperatureSum = 0;
    std::int64_t readingSum = 0;
    bool sensorRead = false;  // a reading has arrived since start

    // What the window shows for this core, exactly.
    std::string temperatureText;  // "%d"
    std::string readingText;      // "%d", the distance to TjMax
    std::string minText;          // "%d%s" with the unit text
    std::string maxText;
    std::string minTimeText;  // "%H:%M:%S"
    std::string maxTimeText;
};

struct GpuSample {
    int temperature = 0;  // display unit
    int minTemperature = kMinTemperatureStart;
    int maxTemperature = kMaxTemperatureStart;
    std::time_t minTime = 0;
    std::time_t maxTime = 0;
    std::int64_t temperatureSum = 0;
    std::string buttonText;  // "GPU  %d%s"
};

// The one measurement record of a run. Written only on the monitoring thread.
struct MonitorState {
    std::uint64_t tickCount = 0;  // since start or the last Reset; the first tick sees 1
    std::time_t statsStart = 0;
    std::array<CoreSample, kCoreNumbers> cores{};
    GpuSample gpu;
    bool gpuPresent = false;
    int clockModulationField = kNoClockModulationField;
    bool alarmThisTick = false;
    bool alarmLatched = false;

    std::string tooltipText;
    std::string titleText;
    std::string thermalStatusCaption = "Thermal Status";  // the status group's caption
    std::string degreeString = "\u00B0C";

    // Per-core configuration, by core number.
    CoreCalibration calibration;  // TjMax and the idle calibration
    CoreMap coreMap;              // 0 marks an absent core
    std::uint32_t processMask = 0;
    std::uint32_t systemMask = 0;
    std::uint32_t clockMod = 2;  // the clock-modulation value last applied

    bool corePresent(int core) const { return coreMap.coreMask[core] != 0; }
};

// Sum / ticks, rounded half up; 0 before the first tick.
int averageOf(std::int64_t sum, std::uint64_t ticks);

}  // namespace calidus
