#include "view/DisplayTexts.h"

#include <ctime>

#include "common/Text.h"

namespace calidus {

namespace {

// The position, in reading order, of the core whose "at the limit, no log" status is shorter.
constexpr int kShortDashPosition = 3;

void appendSummaries(DisplayTexts& texts, int core, bool first, const Edition& edition) {
    const std::string& temperature = texts.cores[core].temperature;
    const std::string& unit = texts.unit;
    if (edition.summaryTextsNameCores) {
        const std::string label = "Core " + std::to_string(core) + ":  ";
        if (first) {
            texts.tooltip = label + temperature + unit;
            texts.title = temperature + unit;
        } else {
            texts.tooltip += "\n" + label + temperature + unit;
            texts.title += " " + temperature + unit;
        }
    } else if (first) {
        texts.tooltip = "Core\n" + temperature + unit;
        texts.title = temperature;
    } else {
        texts.tooltip += "\n" + temperature + unit;
        texts.title += " " + temperature;
    }
}

void formatExtremes(CoreTexts& texts, const CoreSample& sample, const std::string& unit,
                    Clock& clock) {
    if (!sample.hasExtremes()) {
        texts.minimum.clear();
        texts.maximum.clear();
        texts.minimumTime.clear();
        texts.maximumTime.clear();
        texts.minimumAt = texts.maximumAt = -1;
        return;
    }
    texts.minimum = std::to_string(sample.minTemperature) + unit;
    texts.maximum = std::to_string(sample.maxTemperature) + unit;
    if (texts.minimumAt != sample.minTime) {
        texts.minimumAt = sample.minTime;
        texts.minimumTime = clockTimeText(clock, sample.minTime);
    }
    if (texts.maximumAt != sample.maxTime) {
        texts.maximumAt = sample.maxTime;
        texts.maximumTime = clockTimeText(clock, sample.maxTime);
    }
}

}  // namespace

void formatHeaderTexts(DisplayTexts& texts, const ProcessorInfo& processor, int headingCpu,
                       std::string unit) {
    texts.model = processor.modelText;
    texts.signature = processor.longSignatureText();
    texts.shortSignature = processor.shortSignatureText();
    texts.unit = std::move(unit);
    texts.heading = "Temperature (" + texts.unit + ")";
    if (headingCpu != 0) {
        texts.heading += " - CPU " + std::to_string(headingCpu);
    }
}

void formatTickTexts(DisplayTexts& texts, const MonitorState& state, const RunConfiguration& config,
                     const Edition& edition, Clock& clock) {
    texts.tickTime = clockTimeText(clock, state.tickTime);
    bool first = true;
    int position = -1;
    for (const int core : edition.monitoredCores) {
        ++position;
        const CoreSample& sample = state.cores[core];
        if (!config.corePresent(core) || !sample.sensorRead) {
            continue;
        }
        CoreTexts& coreTexts = texts.cores[core];
        coreTexts.temperature = std::to_string(sample.temperature);
        coreTexts.distance = std::to_string(sample.reading);
        coreTexts.status = thermalStatusText(sample.thermalStatus, sample.thermalLog,
                                             position == kShortDashPosition);
        formatExtremes(coreTexts, sample, texts.unit, clock);
        appendSummaries(texts, core, first, edition);
        first = false;
    }
    texts.statusCaption = clockModulationCaption(state.clockModulationField);
    if (state.gpu.read) {
        texts.gpuTemperature = std::to_string(state.gpu.temperature);
        texts.gpuButton = "GPU  " + texts.gpuTemperature + texts.unit;
    } else {
        texts.gpuButton = texts.signature;
    }
}

void formatClockTexts(DisplayTexts& texts, const ClockReadings& clock) {
    if (clock.clockKnown) {
        texts.clock = fixedText(clock.coreMHz, 2) + " MHz";
        texts.busClock = fixedText(clock.busMHz, 2) + " x " + fixedText(clock.multiplier, 1);
    }
    texts.vidOrRunTime =
        clock.vidShown ? "VID   " + fixedText(clock.vid, 4) : runTimeText(clock.runTimeSeconds);
    texts.load = "Load " + fixedText(clock.load, 1, 5) + "%";
}

std::string runTimeText(std::int64_t seconds) {
    const auto twoDigits = [](std::int64_t value) {
        return (value < 10 ? "0" : "") + std::to_string(value);
    };
    return std::to_string(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" +
           twoDigits(seconds % 60);
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

std::string clockModulationCaption(int field) {
    if (field == kNoClockModulationField) {
        return "Thermal Status";
    }
    if ((field & 0xE) == 0) {
        return "Clock Modulation  50.0%";
    }
    return "Clock Modulation  " + fixedText(((field >> 1) & 7) * 12.5, 1) + "%";
}

std::string clockTimeText(Clock& clock, std::time_t when) {
    const std::tm local = clock.localTime(when);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

}  // namespace calidus
