#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "msrhelper/MsrStatus.h"

namespace calidus {

// What the program and the register helper say to each other over the helper's standard input
// and output: records of one fixed size, in the machine's own byte order (both ends run on
// it). The helper's first record is a greeting; then it answers each request with one reply,
// all replies to what it read at once in one write, so that a batch costs one round trip.
enum class HelperOperation : std::uint8_t {
    Greeting = 0,  // helper to program: status Ok or why it cannot serve; processor = devices
    Read = 1,
    Write = 2,
    Goodbye = 3,  // the program ends in order: the helper leaves the registers as they are
};

struct HelperRecord {
    static constexpr std::uint32_t kMagic = 0x52534D43;  // "CMSR"
    static constexpr std::uint32_t kVersion = 1;         // a greeting's index

    std::uint32_t magic = kMagic;
    HelperOperation operation = HelperOperation::Read;
    MsrStatus status = MsrStatus::Ok;  // 0 in requests
    std::uint16_t reserved = 0;
    std::uint32_t processor = 0;
    std::uint32_t index = 0;
    std::uint32_t low = 0;
    std::uint32_t high = 0;

    std::uint64_t value() const { return std::uint64_t{high} << 32 | low; }
    void setValue(std::uint64_t value) {
        low = static_cast<std::uint32_t>(value);
        high = static_cast<std::uint32_t>(value >> 32);
    }
};

inline constexpr std::size_t kHelperRecordSize = 24;
static_assert(sizeof(HelperRecord) == kHelperRecordSize);
static_assert(std::is_trivially_copyable_v<HelperRecord>);

// A batch larger than this goes in several round trips, so that neither pipe fills while the
// other end waits.
inline constexpr std::size_t kHelperBatchLimit = 128;

}  // namespace calidus
