#include "platform/sim/SimCoretempTree.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <set>

#include "common/Registers.h"
#include "platform/linux/CpufreqClock.h"

namespace calidus {

namespace {

using msr::kTemperatureTarget;
constexpr std::uint32_t kThermalStatus = msr::kThermStatus;
constexpr int kDefaultCritical = 100;
constexpr std::uint64_t kCriticalStatus = 1u << 5;

void put(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text << "\n";
}

}  // namespace

SimCoretempTree::SimCoretempTree(std::shared_ptr<SimMachine> machine)
    : machine_(std::move(machine)) {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("calidus-coretemp-" + std::to_string(random()) + std::to_string(random()));
    std::set<int> packages;
    for (int processor = 0; processor < machine_->description().processorCount(); ++processor) {
        const Location where = locate(processor);
        const std::filesystem::path topology =
            root_ / "devices/system/cpu" / ("cpu" + std::to_string(processor)) / "topology";
        put(topology / "physical_package_id", std::to_string(where.package));
        put(topology / "core_id", std::to_string(where.core));
        const std::filesystem::path prefix = sensorPrefix(processor);
        put(prefix.string() + "label", "Core " + std::to_string(where.core));
        put(prefix.string() + "input", "0");
        put(prefix.string() + "crit", std::to_string(kDefaultCritical * 1000));
        put(prefix.string() + "crit_alarm", "0");
        if (packages.insert(where.package).second) {
            const std::filesystem::path hwmon = prefix.parent_path();
            put(hwmon / "name", "coretemp");
            put(hwmon / "temp1_label", "Package id " + std::to_string(where.package));
        }
    }
    sensors_.emplace(root_);
}

SimCoretempTree::~SimCoretempTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::optional<KernelReading> SimCoretempTree::read(std::uint32_t processor) {
    std::uint64_t status = 0;
    std::uint64_t target = 0;
    if (machine_->readForKernel(processor, kThermalStatus, status)) {
        const int read = machine_->readForKernel(processor, kTemperatureTarget, target)
                             ? static_cast<int>(target >> 16 & 0x7F)
                             : 0;
        const int critical = read > 0 ? read : kDefaultCritical;
        const int distance = static_cast<int>(status >> 16 & 0x7F);
        const std::string prefix = sensorPrefix(static_cast<int>(processor)).string();
        put(prefix + "input", std::to_string((critical - distance) * 1000));
        put(prefix + "crit", std::to_string(critical * 1000));
        put(prefix + "crit_alarm", (status & kCriticalStatus) != 0 ? "1" : "0");
    }
    return sensors_->read(processor);
}

double SimCoretempTree::clockMHz(std::uint32_t processor) {
    if (processor >= static_cast<std::uint32_t>(machine_->description().processorCount())) {
        return 0.0;
    }
    const auto kHz = std::llround(machine_->coreMHz(processor) * 1000.0);
    put(root_ / "devices/system/cpu" / ("cpu" + std::to_string(processor)) /
            "cpufreq/scaling_cur_freq",
        std::to_string(kHz));
    return cpufreqClockMHz(root_, processor);
}

// As the kernel numbers them: packages by APIC id, cores within a package by their thread group.
SimCoretempTree::Location SimCoretempTree::locate(int processor) const {
    const MachineDescription& d = machine_->description();
    const std::uint32_t apic = d.apicIds[static_cast<std::size_t>(processor)];
    const std::uint32_t threads = std::max(1u, d.logicalPerPackage / d.coresPerPackage);
    return {.package = static_cast<int>(apic / d.logicalPerPackage),
            .core = static_cast<int>(apic % d.logicalPerPackage / threads)};
}

std::filesystem::path SimCoretempTree::sensorPrefix(int processor) const {
    const Location where = locate(processor);
    return root_ / "class/hwmon" / ("hwmon" + std::to_string(where.package)) /
           ("temp" + std::to_string(where.core + 2) + "_");
}

}  // namespace calidus
