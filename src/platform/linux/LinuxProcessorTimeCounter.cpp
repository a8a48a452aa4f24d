#include "platform/linux/LinuxProcessorTimeCounter.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace calidus {

LinuxProcessorTimeCounter::LinuxProcessorTimeCounter(std::string procRoot)
    : statPath_(std::move(procRoot) + "/stat"), previous_(readTimes()) {}

// Fields: user nice system idle iowait irq softirq steal guest guest_nice. The guest times
// are already counted in user and nice, so they stay out of the total.
std::optional<LinuxProcessorTimeCounter::Times> LinuxProcessorTimeCounter::readTimes() const {
    std::ifstream stat(statPath_);
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line);
    std::string label;
    fields >> label;
    if (label != "cpu") {
        return std::nullopt;
    }
    std::array<std::uint64_t, 8> values{};
    std::size_t count = 0;
    while (count < values.size() && fields >> values[count]) {
        ++count;
    }
    if (count < 4) {
        return std::nullopt;
    }
    Times times;
    for (const std::uint64_t value : values) {
        times.total += value;
    }
    times.idle = values[3] + values[4];
    return times;
}

double LinuxProcessorTimeCounter::busyPercent() {
    const std::optional<Times> current = readTimes();
    if (!current) {
        return 0.0;
    }
    const std::optional<Times> previous = previous_;
    previous_ = current;
    if (!previous || current->total <= previous->total) {
        return 0.0;
    }
    const double total = static_cast<double>(current->total - previous->total);
    // iowait may run backwards between two readings, so idle is compared signed.
    const double idle = static_cast<double>(current->idle) - static_cast<double>(previous->idle);
    return std::clamp(100.0 * (total - idle) / total, 0.0, 100.0);
}

}  // namespace calidus
