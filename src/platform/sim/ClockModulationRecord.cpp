#include "platform/sim/ClockModulationRecord.h"

#include <cstdio>
#include <fstream>

#include "common/Registers.h"

namespace calidus {

ClockModulationRecord::ClockModulationRecord(std::unique_ptr<DriverLibrary> driver,
                                             std::filesystem::path file)
    : driver_(std::move(driver)), file_(std::move(file)) {}

bool ClockModulationRecord::writeMsr(std::uint32_t processor, std::uint32_t index,
                                     std::uint32_t low, std::uint32_t high) {
    const bool written = driver_->writeMsr(processor, index, low, high);
    if (written && index == msr::kClockModulation) {
        lowHalves_[processor] = low;
        write(false);
    }
    return written;
}

void ClockModulationRecord::stop() {
    driver_->stop();
    write(true);
}

void ClockModulationRecord::write(bool stopped) const {
    std::ofstream out(file_, std::ios::trunc);
    for (const auto& [processor, low] : lowHalves_) {
        char line[48];
        std::snprintf(line, sizeof line, "processor %u 0x19A=0x%08X\n", processor, low);
        out << line;
    }
    if (stopped) {
        out << "driver stopped\n";
    }
}

}  // namespace calidus
