#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <vector>

#include "common/Edition.h"
#include "cpu/RunConfiguration.h"
#include "measure/MonitorState.h"

namespace calidus {

// One tick's temperatures in the display unit; nothing for a core without a reading or a GPU
// without a source.
struct HistoryPoint {
    std::time_t time = 0;
    std::array<std::optional<int>, kCoreNumbers> cores{};
    std::optional<int> gpu;
};

// The temperatures of the last ticks, one entry per tick, in memory fixed at construction: the
// oldest entry makes room for the newest. Entries are kept in degrees Celsius, so a change of the
// display unit shows the whole history in the new unit. Reset leaves it alone.
class TemperatureHistory {
  public:
    // Two hours at the default period of one second.
    static constexpr std::size_t kDefaultCapacity = 7200;

    explicit TemperatureHistory(std::size_t capacity = kDefaultCapacity);

    // The readings of the tick at state.tickTime.
    void record(const MonitorState& state, const RunConfiguration& config, const Edition& edition);

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return entries_.size(); }

    // The newest count entries (all when there are fewer), oldest first.
    std::vector<HistoryPoint> last(std::size_t count, bool fahrenheit,
                                   const Edition& edition) const;

  private:
    static constexpr std::int16_t kNone = INT16_MIN;
    struct Entry {
        std::time_t time = 0;
        std::array<std::int16_t, kCoreNumbers> cores{};
        std::int16_t gpu = kNone;
    };

    std::vector<Entry> entries_;
    std::size_t next_ = 0;  // where the next entry goes
    std::size_t size_ = 0;
};

}  // namespace calidus
