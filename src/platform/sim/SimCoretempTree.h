#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/KernelReading.h"
#include "platform/linux/CoretempSensors.h"
#include "platform/sim/SimMachine.h"

namespace calidus {

// The coretemp hwmon and topology files of a simulated machine, laid out in a temporary folder
// and read by the real reader. Before each reading the core's files are written from the
// machine's own sensor, so the kernel's temperatures are the machine's; so are the cpufreq
// clocks.
class SimCoretempTree {
  public:
    explicit SimCoretempTree(std::shared_ptr<SimMachine> machine);
    ~SimCoretempTree();
    SimCoretempTree(const SimCoretempTree&) = delete;
    SimCoretempTree& operator=(const SimCoretempTree&) = delete;

    // The reading of a logical processor, as the kernel gives it.
    std::optional<KernelReading> read(std::uint32_t processor);
    // The kernel's current clock of a logical processor in MHz, 0 when it has none.
    double clockMHz(std::uint32_t processor);

  private:
    struct Location {
        int package = 0;
        int core = 0;
    };
    Location locate(int processor) const;
    std::filesystem::path sensorPrefix(int processor) const;

    std::shared_ptr<SimMachine> machine_;
    std::filesystem::path root_;
    std::optional<CoretempSensors> sensors_;
};

}  // namespace calidus
