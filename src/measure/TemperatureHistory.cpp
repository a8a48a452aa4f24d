#include "measure/TemperatureHistory.h"

#include <algorithm>

#include "measure/TemperatureUnits.h"

namespace calidus {

TemperatureHistory::TemperatureHistory(std::size_t capacity)
    : entries_(std::max<std::size_t>(capacity, 1)) {}

void TemperatureHistory::record(const MonitorState& state, const RunConfiguration& config,
                                const Edition& edition) {
    Entry& entry = entries_[next_];
    entry.time = state.tickTime;
    entry.cores.fill(kNone);
    for (const int core : edition.monitoredCores) {
        const CoreSample& sample = state.cores[core];
        if (config.corePresent(core) && sample.sensorRead) {
            entry.cores[core] = static_cast<std::int16_t>(sample.celsius);
        }
    }
    entry.gpu =
        state.gpuPresent && state.gpu.read ? static_cast<std::int16_t>(state.gpu.celsius) : kNone;
    next_ = (next_ + 1) % entries_.size();
    size_ = std::min(size_ + 1, entries_.size());
}

std::vector<HistoryPoint> TemperatureHistory::last(std::size_t count, bool fahrenheit,
                                                   const Edition& edition) const {
    count = std::min(count, size_);
    const auto shown = [&](std::int16_t celsius) -> std::optional<int> {
        if (celsius == kNone) {
            return std::nullopt;
        }
        return toDisplayUnit(celsius, fahrenheit, edition);
    };
    std::vector<HistoryPoint> points;
    points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Entry& entry = entries_[(next_ + entries_.size() - count + i) % entries_.size()];
        HistoryPoint& point = points.emplace_back();
        point.time = entry.time;
        for (int core = 0; core < kCoreNumbers; ++core) {
            point.cores[core] = shown(entry.cores[core]);
        }
        point.gpu = shown(entry.gpu);
    }
    return points;
}

}  // namespace calidus
