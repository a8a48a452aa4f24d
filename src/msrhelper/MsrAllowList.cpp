#include "msrhelper/MsrAllowList.h"

#include <algorithm>
#include <array>

namespace calidus {

namespace {

constexpr std::array<std::uint32_t, 15> kReadable{0x10,  0x17,  0x2A,  0xCE,  0x194,
                                                  0x198, 0x19A, 0x19C, 0x1A0, 0x1A2,
                                                  0x1AD, 0x1FC, 0x30A, 0x30B, 0x38D};

constexpr std::uint32_t kClockModulation = 0x19A;
constexpr std::uint32_t kMiscEnable = 0x1A0;
constexpr std::uint32_t kPowerControl = 0x1FC;
constexpr std::uint32_t kFixedCounterControl = 0x38D;

constexpr std::uint64_t bit(int n) {
    return std::uint64_t{1} << n;
}

// Duty cycle (bits 1-3) and its enable (bit 4); bit 0 is the extended duty step.
constexpr std::uint64_t kClockModulationField = 0x1F;
// EIST (16), the CPUID limit (22), C1E on older processors (25), turbo disengage (38).
constexpr std::uint64_t kMiscEnableSwitches = bit(16) | bit(22) | bit(25) | bit(38);
constexpr std::uint64_t kC1eEnable = bit(1);
// Enables of fixed counters 1 and 2 in ring 0 and 3.
constexpr std::uint64_t kFixedCounterEnables = 0x330;

std::uint64_t writableBits(std::uint32_t index) {
    switch (index) {
        case kClockModulation:
            return kClockModulationField;
        case kMiscEnable:
            return kMiscEnableSwitches;
        case kPowerControl:
            return kC1eEnable;
        case kFixedCounterControl:
            return kFixedCounterEnables;
        default:
            return 0;
    }
}

}  // namespace

MsrStatus checkRead(std::uint32_t index) {
    return std::find(kReadable.begin(), kReadable.end(), index) != kReadable.end()
               ? MsrStatus::Ok
               : MsrStatus::ReadNotAllowed;
}

bool writable(std::uint32_t index) {
    return writableBits(index) != 0;
}

MsrStatus checkWrite(std::uint32_t index, std::uint64_t current, std::uint64_t requested) {
    const std::uint64_t writable = writableBits(index);
    if (writable == 0) {
        return MsrStatus::WriteNotAllowed;
    }
    if (index == kClockModulation && (requested & ~kClockModulationField) != 0) {
        return MsrStatus::OutsideField;
    }
    if (((current ^ requested) & ~writable) != 0) {
        return MsrStatus::ProtectedBits;
    }
    if (index == kFixedCounterControl && (current & ~requested) != 0) {
        return MsrStatus::ClearsBits;
    }
    return current == requested ? MsrStatus::Unchanged : MsrStatus::Ok;
}

}  // namespace calidus
