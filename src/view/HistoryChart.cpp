#include "view/HistoryChart.h"

#include <algorithm>
#include <array>

namespace calidus {

std::size_t historyEntries(HistorySpan span, std::chrono::milliseconds tickPeriod,
                           std::size_t capacity) {
    if (span == HistorySpan::WholeRing) {
        return capacity;
    }
    const std::chrono::milliseconds length =
        span == HistorySpan::FiveMinutes ? std::chrono::minutes(5) : std::chrono::hours(1);
    const auto period = std::max<std::chrono::milliseconds::rep>(tickPeriod.count(), 1);
    // One more than the span holds, so the curve reaches from one end of it to the other.
    return std::min<std::size_t>(static_cast<std::size_t>(length.count() / period) + 1, capacity);
}

namespace {

int floorTo(int value, int step) {
    const int q = value / step;
    return (value % step != 0 && value < 0 ? q - 1 : q) * step;
}

int ceilTo(int value, int step) {
    return -floorTo(-value, step);
}

}  // namespace

HistoryChart historyChart(const TemperatureHistory& history, std::size_t entries,
                          const HistoryChartInputs& inputs, const RunConfiguration& config,
                          const Edition& edition) {
    HistoryChart chart;
    chart.points = history.last(entries, inputs.fahrenheit, edition);
    for (const int core : edition.monitoredCores) {
        if (config.corePresent(core)) {
            chart.cores.push_back(core);
        }
    }
    std::sort(chart.cores.begin(), chart.cores.end());
    chart.gpu = inputs.gpuSourceRuns ||
                std::any_of(chart.points.begin(), chart.points.end(),
                            [](const HistoryPoint& p) { return p.gpu.has_value(); });
    chart.unit = inputs.unit;
    chart.coreAlarm = inputs.coreAlarm;
    if (chart.gpu) {
        chart.gpuAlarm = inputs.gpuAlarm;
    }

    int low = chart.coreAlarm;
    int high = chart.coreAlarm;
    const auto include = [&](const std::optional<int>& value) {
        if (value) {
            low = std::min(low, *value);
            high = std::max(high, *value);
        }
    };
    include(chart.gpuAlarm);
    for (const HistoryPoint& point : chart.points) {
        for (const int core : chart.cores) {
            include(point.cores[core]);
        }
        include(point.gpu);
    }
    const int range = high - low;
    chart.step = range <= 30 ? 5 : range <= 80 ? 10 : 20;
    chart.low = floorTo(low, chart.step);
    chart.high = std::max(ceilTo(high, chart.step), chart.low + chart.step);
    if (chart.high == high) {
        // A line on the top edge would hide under the frame.
        chart.high += chart.step;
    }
    return chart;
}

TimeTicks timeTicks(std::time_t first, std::time_t last) {
    static constexpr std::array<std::time_t, 12> kSteps{10,  15,  30,   60,   120,  300,
                                                        600, 900, 1800, 3600, 7200, 14400};
    const std::time_t length = std::max<std::time_t>(last - first, 1);
    std::time_t step = kSteps.back();
    for (const std::time_t candidate : kSteps) {
        if (length / candidate <= 6) {
            step = candidate;
            break;
        }
    }
    TimeTicks ticks;
    ticks.seconds = step < 60;
    for (std::time_t t = (first + step - 1) / step * step; t <= last; t += step) {
        ticks.times.push_back(t);
    }
    return ticks;
}

std::string historyCsv(const HistoryChart& chart, Clock& clock) {
    std::string text = "Time";
    for (const int core : chart.cores) {
        text += ",Core " + std::to_string(core) + " (" + chart.unit + ")";
    }
    if (chart.gpu) {
        text += ",GPU (" + chart.unit + ")";
    }
    text += "\n";
    const auto cell = [&](const std::optional<int>& value) {
        text += ',';
        if (value) {
            text += std::to_string(*value);
        }
    };
    for (const HistoryPoint& point : chart.points) {
        const std::tm local = clock.localTime(point.time);
        char time[32];
        std::strftime(time, sizeof time, "%Y-%m-%d %H:%M:%S", &local);
        text += time;
        for (const int core : chart.cores) {
            cell(point.cores[core]);
        }
        if (chart.gpu) {
            cell(point.gpu);
        }
        text += "\n";
    }
    return text;
}

}  // namespace calidus
