#include "platform/sim/SimDriver.h"

#include <utility>

namespace calidus {

namespace {

constexpr std::uint32_t kDeviceRefused = 2;

}  // namespace

SimDriver::SimDriver(std::shared_ptr<SimMachine> machine) : machine_(std::move(machine)) {}

void SimDriver::start() {
    switch (machine_->description().authentication) {
        case Authentication::Dismissed:
            problem_ = RegisterAccessProblem::Dismissed;
            break;
        case Authentication::Refused:
            problem_ = RegisterAccessProblem::NotAuthorised;
            break;
        default:
            problem_ = RegisterAccessProblem::None;
            break;
    }
    notice_ = registerAccessNotice(problem_);
}

std::uint32_t SimDriver::status() {
    return authorised() ? machine_->description().driverStatus : kDeviceRefused;
}

bool SimDriver::msrAvailable() {
    return authorised() && machine_->description().msrAvailable;
}

bool SimDriver::readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                        std::uint32_t& high) {
    std::uint64_t value = 0;
    if (!authorised() || !machine_->readMsr(processor, index, value)) {
        return false;
    }
    low = static_cast<std::uint32_t>(value);
    high = static_cast<std::uint32_t>(value >> 32);
    return true;
}

bool SimDriver::writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                         std::uint32_t high) {
    if (!authorised()) {
        return false;
    }
    if (machine_->description().writesLocked) {
        if (!std::exchange(writesLockedSaid_, true)) {
            notice_ = registerAccessNotice(RegisterAccessProblem::WritesLocked);
        }
        return false;
    }
    return machine_->writeMsr(processor, index, std::uint64_t{high} << 32 | low);
}

std::string SimDriver::takeNotice() {
    return std::exchange(notice_, {});
}

}  // namespace calidus
