#pragma once

#include <chrono>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "common/Edition.h"
#include "cpu/RunConfiguration.h"
#include "measure/TemperatureHistory.h"
#include "platform/Clock.h"

namespace calidus {

// How far back the History window looks.
enum class HistorySpan { FiveMinutes, OneHour, WholeRing };

// The entries that cover the span at the tick period (the whole ring at most).
std::size_t historyEntries(HistorySpan span, std::chrono::milliseconds tickPeriod,
                           std::size_t capacity);

// What the History window draws and saves: the shown entries in the display unit, one series
// per monitored core (and the GPU while a source runs), the alarm lines and the axis ranges.
struct HistoryChart {
    std::vector<HistoryPoint> points;  // oldest first
    std::vector<int> cores;            // core numbers, ascending
    bool gpu = false;
    std::string unit;  // "°C" or "°F"
    int coreAlarm = 0;
    std::optional<int> gpuAlarm;
    int low = 0;  // the temperature axis, whole steps enclosing every value and alarm line
    int high = 0;
    int step = 10;
};

struct HistoryChartInputs {
    bool fahrenheit = false;
    std::string unit;
    int coreAlarm = 0;  // display unit
    int gpuAlarm = 0;
    bool gpuSourceRuns = false;
};

HistoryChart historyChart(const TemperatureHistory& history, std::size_t entries,
                          const HistoryChartInputs& inputs, const RunConfiguration& config,
                          const Edition& edition);

// Gridline times between first and last: whole multiples of a step that gives a few of them.
struct TimeTicks {
    std::vector<std::time_t> times;
    bool seconds = false;  // the labels need seconds
};
TimeTicks timeTicks(std::time_t first, std::time_t last);

// The shown samples as comma-separated text: a header naming the columns with the unit, then
// one row per entry with its local time; a core without a reading leaves its cell empty.
std::string historyCsv(const HistoryChart& chart, Clock& clock);

}  // namespace calidus
