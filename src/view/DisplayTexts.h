#pragma once

#include <array>
#include <ctime>
#include <string>
#include <string_view>

#include "common/Edition.h"
#include "cpu/ProcessorInfo.h"
#include "cpu/RunConfiguration.h"
#include "measure/MonitorState.h"
#include "platform/Clock.h"

namespace calidus {

// What the window shows for one core, exactly.
struct CoreTexts {
    std::string temperature;  // "%d"
    std::string distance;     // "%d", the distance to TjMax
    std::string minimum;      // "%d%s" with the unit text
    std::string maximum;
    std::string minimumTime;  // "%H:%M:%S"
    std::string maximumTime;
    std::string status;  // "OK", "LOG", "HOT", "---" or "--"
    // The moments the two time texts were made from: a time is formatted again only when its
    // extreme moved, not at every tick.
    std::time_t minimumAt = -1;
    std::time_t maximumAt = -1;
};

// Where the temperatures come from when the registers are out of reach: the model field's
// tooltip and the console's first line.
inline constexpr std::string_view kReadOnlySource =
    "Read-only: temperatures from the kernel's coretemp sensors";

// Every text of a run that the window, the tray, the console and the JSON lines show. The
// engine makes them once per tick from the readings; nobody else formats a reading.

struct DisplayTexts {
    std::string model = "-----";
    std::string modelTooltip;    // kReadOnlySource when read-only, else empty
    std::string signature;       // "%05X", the GPU button's first caption
    std::string shortSignature;  // "%04X", the signature field
    std::string unit = "\u00B0C";
    std::string heading;  // the temperature group's caption
    std::string statusCaption = "Thermal Status";
    std::string tickTime;  // "%H:%M:%S" of the last tick
    std::string title;
    std::string tooltip;
    std::string gpuButton;       // "GPU  %d%s" once a GPU value arrived, else the signature
    std::string gpuTemperature;  // "%d" once a GPU value arrived
    // Empty until the time-stamp counter is calibrated, then kept.
    std::string clock;         // "%.2f MHz"
    std::string busClock;      // "%.2f x %.1f", bus clock and multiplier
    std::string vidOrRunTime;  // "VID   %.4f", or the run time "%d:%M:%S"
    std::string load;          // "Load %5.1f%%"
    std::array<CoreTexts, kCoreNumbers> cores{};
};

// Start-up, and again when the unit changes: the processor's texts and the heading.
void formatHeaderTexts(DisplayTexts& texts, const ProcessorInfo& processor, int headingCpu,
                       std::string unit);

// End of every tick: the per-core fields, summaries, status caption and times.
void formatTickTexts(DisplayTexts& texts, const MonitorState& state, const RunConfiguration& config,
                     const Edition& edition, Clock& clock);

// After the clock measurement of a tick: the clock, multiplier, VID or run time and load.
void formatClockTexts(DisplayTexts& texts, const ClockReadings& clock);

// Whole hours, then minutes and seconds: "27:04:09".
std::string runTimeText(std::int64_t seconds);

std::string thermalStatusText(bool thermalStatus, bool thermalLog, bool shortDashes);

// The caption of the status group for the smallest duty field of the modulating cores.
std::string clockModulationCaption(int field);

// "%H:%M:%S" in local time.
std::string clockTimeText(Clock& clock, std::time_t when);

}  // namespace calidus
