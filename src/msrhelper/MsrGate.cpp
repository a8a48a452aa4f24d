#include "msrhelper/MsrGate.h"

#include <utility>

#include "msrhelper/MsrAllowList.h"

namespace calidus {

namespace {

constexpr std::uint32_t kClockModulation = 0x19A;

}  // namespace

MsrStatus MsrGate::read(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) {
    if (!devices_.present(processor)) {
        return MsrStatus::NoSuchProcessor;
    }
    const MsrStatus allowed = checkRead(index);
    if (allowed != MsrStatus::Ok) {
        return allowed;
    }
    return devices_.read(processor, index, value);
}

MsrStatus MsrGate::write(std::uint32_t processor, std::uint32_t index, std::uint64_t value) {
    if (!devices_.present(processor)) {
        return MsrStatus::NoSuchProcessor;
    }
    if (!writable(index)) {
        return MsrStatus::WriteNotAllowed;
    }
    std::uint64_t current = 0;
    const MsrStatus readStatus = devices_.read(processor, index, current);
    if (readStatus == MsrStatus::DeviceUnavailable) {
        return readStatus;
    }
    if (readStatus != MsrStatus::Ok) {
        return MsrStatus::CurrentUnreadable;
    }
    const MsrStatus allowed = checkWrite(index, current, value);
    if (allowed != MsrStatus::Ok) {
        return allowed;
    }
    const MsrStatus written = devices_.write(processor, index, value);
    if (written == MsrStatus::Ok && index == kClockModulation) {
        clockModulationBefore_.emplace(processor, current);
    }
    return written;
}

void MsrGate::restoreClockModulation() {
    for (const auto& [processor, before] : std::exchange(clockModulationBefore_, {})) {
        write(processor, kClockModulation, before);
    }
    clockModulationBefore_.clear();
}

}  // namespace calidus
