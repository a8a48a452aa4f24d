#include "measure/CoreTemperatures.h"

#include <algorithm>
#include <cstdio>

#include "measure/TemperatureUnits.h"

namespace calidus {

namespace {

// The position, in reading order, of the core whose "at the limit, no log" status is shorter.
constexpr int kShortDashPosition = 3;
// A 7-bit readout above this, with the limit bit set, is a distance below zero.
constexpr int kHighestPlainReading = 77;
constexpr int kReadoutWrap = 128;
constexpr std::uint32_t kModulationEnable = 0x10;
constexpr std::uint32_t kModulationFieldMask = 0x1E;

std::string withUnit(int value, const std::string& unit) {
    return std::to_string(value) + unit;
}

void noteMinimum(CoreSample& sample, const std::string& unit, const TickTime& time) {
    if (sample.temperature < sample.minTemperature) {
        sample.minTemperature = sample.temperature;
        sample.minText = withUnit(sample.temperature, unit);
        sample.minTime = time.when;
        sample.minTimeText = time.text;
    }
}

void noteMaximum(CoreSample& sample, const std::string& unit, const TickTime& time) {
    if (sample.temperature > sample.maxTemperature) {
        sample.maxTemperature = sample.temperature;
        sample.maxText = withUnit(sample.temperature, unit);
        sample.maxTime = time.when;
        sample.maxTimeText = time.text;
    }
}

void appendSummaries(MonitorState& state, int core, bool first, const Edition& edition) {
    const std::string& temperature = state.cores[core].temperatureText;
    const std::string& unit = state.degreeString;
    if (edition.summaryTextsNameCores) {
        const std::string label = "Core " + std::to_string(core) + ":  ";
        if (first) {
            state.tooltipText = label + temperature + unit;
            state.titleText = temperature + unit;
        } else {
            state.tooltipText += "\n" + label + temperature + unit;
            state.titleText += " " + temperature + unit;
        }
    } else if (first) {
        state.tooltipText = "Core\n" + temperature + unit;
        state.titleText = temperature;
    } else {
        state.tooltipText += "\n" + temperature + unit;
        state.titleText += " " + temperature;
    }
}

}  // namespace

int calibrationOffset(int idleTenths, int reading, bool thermalStatus, bool oldFormula) {
    if (idleTenths == 0 || thermalStatus) {
        return 0;
    }
    if (!oldFormula) {
        return idleTenths * reading / 400;
    }
    return reading > 30 ? idleTenths * (reading - 30) / 400 : 0;
}

std::string thermalStatusText(bool thermalStatus, bool thermalLog, bool shortDashes) {
    if (!thermalStatus) {
        return thermalLog ? "LOG" : "OK";
    }
    if (thermalLog) {
        return "HOT";
    }
    return shortDashes ? "--" : "---";
}

std::string clockModulationCaption(bool modulationActive, int field) {
    if (!modulationActive) {
        return "Thermal Status";
    }
    if ((field & 0xE) == 0) {
        return "Clock Modulation  50.0%";
    }
    char text[40];
    std::snprintf(text, sizeof text, "Clock Modulation  %.1f%%", ((field >> 1) & 7) * 12.5);
    return text;
}

void updateCoreTemperatures(MonitorState& state, ProcessorAccess& access,
                            const MonitorSettings& settings, const Edition& edition,
                            const TickTime& time) {
    const bool oldFormula = settings.oldFormula && edition.hasOldFormula;
    bool modulationActive = false;
    int smallestField = kNoClockModulationField;
    bool first = true;
    int position = -1;
    for (const int core : edition.monitoredCores) {
        ++position;
        if (!state.corePresent(core)) {
            continue;
        }
        CoreSample& sample = state.cores[core];
        access.pinToProcessor(state.coreMap.coreMask[core]);
        MsrValue therm;
        const bool sensorRead = access.readMsr(kThermStatusMsr, therm.low, therm.high);
        const MsrValue modulation = access.readMsr(kClockModulationMsr);
        access.unpin();
        if (modulation.low & kModulationEnable) {
            modulationActive = true;
            smallestField =
                std::min(smallestField, static_cast<int>(modulation.low & kModulationFieldMask));
        }

        // A sensor that cannot be read keeps its last reading; before it has one the core
        // contributes nothing, rather than showing TjMax.
        if (sensorRead) {
            sample.reading = static_cast<int>((therm.low >> 16) & 0x7F);
            sample.thermalStatus = (therm.low & 1) != 0;
            sample.thermalLog = (therm.low & 2) != 0;
            sample.sensorRead = true;
        } else if (!sample.sensorRead) {
            continue;
        }
        sample.statusText = thermalStatusText(sample.thermalStatus, sample.thermalLog,
                                              position == kShortDashPosition);

        int temperature = state.calibration.tjMax[core] - sample.reading +
                          calibrationOffset(state.calibration.idle[core], sample.reading,
                                            sample.thermalStatus, oldFormula);
        if (sample.reading > kHighestPlainReading && sample.thermalStatus) {
            temperature += kReadoutWrap;
        }
        sample.temperature = toDisplayUnit(temperature, settings.fahrenheit, edition);

        sample.temperatureSum += sample.temperature;
        sample.readingSum += sample.reading;
        noteMinimum(sample, state.degreeString, time);
        noteMaximum(sample, state.degreeString, time);
        sample.minReading = std::min(sample.minReading, sample.reading);
        sample.maxReading = std::max(sample.maxReading, sample.reading);

        sample.readingText = std::to_string(sample.reading);
        sample.temperatureText = std::to_string(sample.temperature);
        appendSummaries(state, core, first, edition);
        first = false;

        if (settings.alarm && sample.temperature >= settings.alarm1) {
            state.alarmThisTick = true;
        }
    }

    if (smallestField != state.clockModulationField) {
        state.clockModulationField = smallestField;
        state.thermalStatusCaption = clockModulationCaption(modulationActive, smallestField);
    }
}

void updateGpuSample(MonitorState& state, int hottestCelsius, const MonitorSettings& settings,
                     const Edition& edition, std::time_t now) {
    GpuSample& gpu = state.gpu;
    gpu.temperature = toDisplayUnit(hottestCelsius, settings.fahrenheit, edition);
    gpu.temperatureSum += gpu.temperature;
    if (settings.alarm && gpu.temperature >= settings.alarm2) {
        state.alarmThisTick = true;
    }
    if (gpu.temperature < gpu.minTemperature) {
        gpu.minTemperature = gpu.temperature;
        gpu.minTime = now;
    }
    if (gpu.temperature > gpu.maxTemperature) {
        gpu.maxTemperature = gpu.temperature;
        gpu.maxTime = now;
    }
    gpu.buttonText = "GPU  " + withUnit(gpu.temperature, state.degreeString);
}

void resetStatistics(MonitorState& state, std::time_t now) {
    for (CoreSample& sample : state.cores) {
        sample.minReading = kMinReadingStart;
        sample.maxReading = kMaxReadingStart;
        sample.temperatureSum = 0;
        sample.readingSum = 0;
        sample.minTemperature = kMinTemperatureStart;
        sample.maxTemperature = kMaxTemperatureStart;
        sample.minText.clear();
        sample.maxText.clear();
        sample.minTimeText.clear();
        sample.maxTimeText.clear();
    }
    state.gpu.temperatureSum = 0;
    state.gpu.minTemperature = kMinTemperatureStart;
    state.gpu.maxTemperature = kMaxTemperatureStart;
    state.tickCount = 0;
    state.statsStart = now;
}

}  // namespace calidus
