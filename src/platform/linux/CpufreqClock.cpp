#include "platform/linux/CpufreqClock.h"

#include <charconv>
#include <fstream>
#include <string>

namespace calidus {

double cpufreqClockMHz(const std::filesystem::path& sysRoot, std::uint32_t processor) {
    std::ifstream in(sysRoot / "devices/system/cpu" / ("cpu" + std::to_string(processor)) /
                     "cpufreq/scaling_cur_freq");
    std::string line;
    std::getline(in, line);
    std::uint64_t kHz = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), kHz);
    if (line.empty() || error != std::errc() || end != line.data() + line.size()) {
        return 0.0;
    }
    return static_cast<double>(kHz) / 1000.0;
}

}  // namespace calidus
