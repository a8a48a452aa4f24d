#pragma once

#include <cstdint>

namespace calidus {

// The answer to one register request. Every way of refusing a request has its own value, so
// that the program can tell a rule of ours from the kernel's refusal.
enum class MsrStatus : std::uint8_t {
    Ok = 0,
    Unchanged = 1,          // a write of the value the register holds: not made
    NoSuchProcessor = 2,    // no msr device for that logical processor
    ReadNotAllowed = 3,     // a register the program never reads
    WriteNotAllowed = 4,    // a register the program never writes
    OutsideField = 5,       // clock modulation: a value outside bits 0-4 of the low half
    ProtectedBits = 6,      // would change a bit the register's rule keeps
    ClearsBits = 7,         // fixed-counter control: its enable bits may only be set
    CurrentUnreadable = 8,  // the value before a write could not be read, so none was made
    DeviceUnavailable = 9,  // the processor's device would not open
    AccessFailed = 10,      // the kernel failed the access (no such register on this processor)
    WritesLocked = 11,      // the kernel refuses register writes (lockdown, msr.allow_writes=off)
    UnknownOperation = 12,
    Malformed = 13,    // not a record of ours; the helper looks for the next one
    ShortRecord = 14,  // the input closed inside a record
    NoDevices = 15,    // greeting: no msr device, even after loading the module
};

// Whether the register now holds the value asked for.
constexpr bool succeeded(MsrStatus status) {
    return status == MsrStatus::Ok || status == MsrStatus::Unchanged;
}

}  // namespace calidus
