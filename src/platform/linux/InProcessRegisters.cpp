#include "platform/linux/InProcessRegisters.h"

#include "msrhelper/HelperServer.h"

namespace calidus {

InProcessRegisters::InProcessRegisters(std::string root, std::function<bool()> loadModule,
                                       MsrDeviceFiles::OpenDevice open)
    : root_(std::move(root)), loadModule_(std::move(loadModule)), openDevice_(std::move(open)) {}

RegisterAccessProblem InProcessRegisters::open() {
    gate_.reset();
    devices_.emplace(root_, openDevice_);
    if (devices_->usability() == MsrStatus::NoDevices && loadModule_()) {
        devices_->scan();
    }
    gate_.emplace(*devices_);
    switch (devices_->usability()) {
        case MsrStatus::Ok:
            return RegisterAccessProblem::None;
        case MsrStatus::NoDevices:
            return RegisterAccessProblem::NoDevices;
        default:
            return RegisterAccessProblem::DevicesRefused;
    }
}

bool InProcessRegisters::exchange(std::span<HelperRecord> records) {
    for (HelperRecord& record : records) {
        if (gate_) {
            record = answerRequest(*gate_, record);
        } else {
            record.status = MsrStatus::DeviceUnavailable;
        }
    }
    return true;
}

void InProcessRegisters::close() {
    if (devices_) {
        devices_->close();
    }
}

}  // namespace calidus
