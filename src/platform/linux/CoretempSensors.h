#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>

#include "platform/KernelReading.h"

namespace calidus {

// The coretemp driver's hwmon files under <sysRoot>/class/hwmon, which every user may read,
// matched to logical processors through <sysRoot>/devices/system/cpu/cpuN/topology: a
// processor's package and core id name its "Package id P" hwmon and its "Core C" sensor.
// Read directly rather than through libsensors: the few files of one driver need no
// configuration, and the tests lay them out in a folder.
class CoretempSensors {
  public:
    explicit CoretempSensors(std::filesystem::path sysRoot);

    // Whether any processor has a sensor.
    bool found() const { return !sensors_.empty(); }
    std::optional<KernelReading> read(std::uint32_t processor) const;

  private:
    std::map<std::uint32_t, std::filesystem::path> sensors_;  // processor -> tempN_ prefix
};

}  // namespace calidus
