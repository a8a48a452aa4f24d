#include "platform/sim/SimDriver.h"

namespace calidus {

SimDriver::SimDriver(std::shared_ptr<SimMachine> machine) : machine_(std::move(machine)) {}

std::uint32_t SimDriver::status() {
    return machine_->description().driverStatus;
}

bool SimDriver::msrAvailable() {
    return machine_->description().msrAvailable;
}

bool SimDriver::readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                        std::uint32_t& high) {
    std::uint64_t value = 0;
    if (!machine_->readMsr(processor, index, value)) {
        return false;
    }
    low = static_cast<std::uint32_t>(value);
    high = static_cast<std::uint32_t>(value >> 32);
    return true;
}

bool SimDriver::writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                         std::uint32_t high) {
    return machine_->writeMsr(processor, index, std::uint64_t{high} << 32 | low);
}

}  // namespace calidus
