#pragma once

#include <array>
#include <cstdint>
#include <ctime>

namespace calidus {

// Every per-core table is indexed by core number 0..7; the edition decides which are monitored.
inline constexpr int kCoreNumbers = 8;

inline constexpr int kMinTemperatureStart = 256;
inline constexpr int kMaxTemperatureStart = -64;
inline constexpr int kMinReadingStart = 128;
inline constexpr int kMaxReadingStart = -64;
// No register field has this value: no core modulates its clock.
inline constexpr int kNoClockModulationField = 32;

struct CoreSample {
    int reading = 0;  // degrees below TjMax, always in degrees Celsius
    bool thermalStatus = false;
    bool thermalLog = false;
    int temperature = 0;  // display unit
    int minTemperature = kMinTemperatureStart;
    int maxTemperature = kMaxTemperatureStart;
    std::time_t minTime = 0;
    std::time_t maxTime = 0;
    // The same in degrees Celsius whatever the display unit, for programs that read them.
    int celsius = 0;
    int minCelsius = kMinTemperatureStart;
    int maxCelsius = kMaxTemperatureStart;
    int minReading = kMinReadingStart;
    int maxReading = kMaxReadingStart;
    std::int64_t temperatureSum = 0;
    std::int64_t readingSum = 0;
    bool sensorRead = false;  // a reading has arrived since start

    // Min and max start crossed, so the first reading since a Reset sets both.
    bool hasExtremes() const { return minTemperature <= maxTemperature; }
};

struct GpuSample {
    int temperature = 0;  // display unit
    int celsius = 0;      // the same before the unit conversion
    int minTemperature = kMinTemperatureStart;
    int maxTemperature = kMaxTemperatureStart;
    std::time_t minTime = 0;
    std::time_t maxTime = 0;
    std::int64_t temperatureSum = 0;
    bool read = false;  // a value has arrived since start
};

// The clock, multiplier, VID or run time and load figures of the last tick.
struct ClockReadings {
    bool clockKnown = false;  // the time-stamp counter has been calibrated: the next three hold
    double coreMHz = 0.0;
    double busMHz = 0.0;
    double multiplier = 0.0;
    bool vidShown = false;  // else the run time
    double vid = 0.0;       // volts
    std::int64_t runTimeSeconds = 0;
    double load = 0.0;  // per cent
};

// The readings of a run and what follows from them: temperatures, extremes, sums, times and
// the alarm flags. Written only on the monitoring thread; src/view makes every text from it.
struct MonitorState {
    std::uint64_t tickCount = 0;  // since start or the last Reset; the first tick sees 1
    std::time_t statsStart = 0;
    std::time_t tickTime = 0;  // of the last tick
    std::array<CoreSample, kCoreNumbers> cores{};
    GpuSample gpu;
    bool gpuPresent = false;
    // The smallest duty field of the modulating cores; kNoClockModulationField when none is.
    int clockModulationField = kNoClockModulationField;
    bool alarmThisTick = false;
    bool alarmLatched = false;
    ClockReadings clock;
};

// Sum / ticks, rounded half up; 0 before the first tick.
int averageOf(std::int64_t sum, std::uint64_t ticks);

}  // namespace calidus
