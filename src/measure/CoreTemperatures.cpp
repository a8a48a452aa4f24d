#include "measure/CoreTemperatures.h"

#include <algorithm>
#include <array>

#include "common/Registers.h"
#include "measure/TemperatureUnits.h"

namespace calidus {

namespace {

// A 7-bit readout above this, with the limit bit set, is a distance below zero.
constexpr int kHighestPlainReading = 77;
constexpr int kReadoutWrap = 128;
constexpr std::uint32_t kModulationEnable = 0x10;
constexpr std::uint32_t kModulationFieldMask = 0x1E;

void noteExtremes(CoreSample& sample, std::time_t now) {
    if (sample.temperature < sample.minTemperature) {
        sample.minTemperature = sample.temperature;
        sample.minTime = now;
    }
    if (sample.temperature > sample.maxTemperature) {
        sample.maxTemperature = sample.temperature;
        sample.maxTime = now;
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

void updateCoreTemperatures(MonitorState& state, const RunConfiguration& config,
                            ProcessorAccess& access, const MonitorSettings& settings,
                            const Edition& edition, std::time_t now) {
    // Sensor then clock modulation of each present core, in the cores' order.
    std::array<MsrRead, 2 * kCoreNumbers> reads{};
    std::size_t count = 0;
    for (const int core : edition.monitoredCores) {
        if (config.corePresent(core)) {
            const std::uint32_t processor = processorOfMask(config.coreMap.coreMask[core]);
            reads[count++] = {.processor = processor, .index = msr::kThermStatus};
            reads[count++] = {.processor = processor, .index = msr::kClockModulation};
        }
    }
    access.readBatch(std::span(reads.data(), count));

    const bool oldFormula = settings.oldFormula && edition.hasOldFormula;
    int smallestField = kNoClockModulationField;
    const MsrRead* read = reads.data();
    for (const int core : edition.monitoredCores) {
        if (!config.corePresent(core)) {
            continue;
        }
        CoreSample& sample = state.cores[core];
        const MsrRead& therm = *read++;
        const MsrRead& modulation = *read++;
        const std::uint32_t modulationLow = modulation.ok ? modulation.low : 0;
        if (modulationLow & kModulationEnable) {
            smallestField =
                std::min(smallestField, static_cast<int>(modulationLow & kModulationFieldMask));
        }

        // A sensor that cannot be read keeps its last reading; before it has one the core
        // contributes nothing, rather than showing TjMax.
        if (therm.ok) {
            sample.reading = static_cast<int>((therm.low >> 16) & 0x7F);
            sample.thermalStatus = (therm.low & 1) != 0;
            sample.thermalLog = (therm.low & 2) != 0;
            sample.sensorRead = true;
        } else if (!sample.sensorRead) {
            continue;
        }

        int temperature = config.calibration.tjMax[core] - sample.reading +
                          calibrationOffset(config.calibration.idle[core], sample.reading,
                                            sample.thermalStatus, oldFormula);
        if (sample.reading > kHighestPlainReading && sample.thermalStatus) {
            temperature += kReadoutWrap;
        }
        sample.temperature = toDisplayUnit(temperature, settings.fahrenheit, edition);
        sample.celsius = temperature;
        sample.minCelsius = std::min(sample.minCelsius, temperature);
        sample.maxCelsius = std::max(sample.maxCelsius, temperature);

        sample.temperatureSum += sample.temperature;
        sample.readingSum += sample.reading;
        noteExtremes(sample, now);
        sample.minReading = std::min(sample.minReading, sample.reading);
        sample.maxReading = std::max(sample.maxReading, sample.reading);

        if (settings.alarm && sample.temperature >= settings.alarm1) {
            state.alarmThisTick = true;
        }
    }
    state.clockModulationField = smallestField;
}

void updateGpuSample(MonitorState& state, int hottestCelsius, const MonitorSettings& settings,
                     const Edition& edition, std::time_t now) {
    GpuSample& gpu = state.gpu;
    gpu.celsius = hottestCelsius;
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
    gpu.read = true;
}

void resetStatistics(MonitorState& state, std::time_t now) {
    for (CoreSample& sample : state.cores) {
        sample.minReading = kMinReadingStart;
        sample.maxReading = kMaxReadingStart;
        sample.temperatureSum = 0;
        sample.readingSum = 0;
        sample.minTemperature = kMinTemperatureStart;
        sample.minCelsius = kMinTemperatureStart;
        sample.maxCelsius = kMaxTemperatureStart;
        sample.maxTemperature = kMaxTemperatureStart;
    }
    state.gpu.temperatureSum = 0;
    state.gpu.minTemperature = kMinTemperatureStart;
    state.gpu.maxTemperature = kMaxTemperatureStart;
    state.tickCount = 0;
    state.statsStart = now;
}

}  // namespace calidus
