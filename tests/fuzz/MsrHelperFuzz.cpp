// libFuzzer target: any stream of bytes sent to the register helper. Nothing outside the
// allow-list may succeed, a write may only change the bits its register's rule allows, and a
// refused write leaves the register as it was. The rules are restated here on purpose, so the
// helper's own table is checked against them rather than against itself.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "msrhelper/HelperServer.h"
#include "support/MemoryMsrDevices.h"

namespace {

using namespace calidus;

constexpr std::uint32_t kProcessors = 2;
constexpr std::uint32_t kReadable[] = {0x10,  0x17,  0x2A,  0xCE,  0x194, 0x198, 0x19A, 0x19C,
                                       0x1A0, 0x1A2, 0x1AD, 0x1FC, 0x30A, 0x30B, 0x38D};

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool readable(std::uint32_t index) {
    for (const std::uint32_t allowed : kReadable) {
        if (allowed == index) {
            return true;
        }
    }
    return false;
}

bool mayReplace(std::uint32_t index, std::uint64_t current, std::uint64_t requested) {
    const std::uint64_t changed = current ^ requested;
    switch (index) {
        case 0x19A:
            return (requested & ~std::uint64_t{0x1F}) == 0;
        case 0x1A0:
            return (changed &
                    ~(std::uint64_t{1} << 16 | 1u << 22 | 1u << 25 | std::uint64_t{1} << 38)) == 0;
        case 0x1FC:
            return (changed & ~std::uint64_t{0x2}) == 0;
        case 0x38D:
            return (changed & ~std::uint64_t{0x330}) == 0 && (current & ~requested) == 0;
        default:
            return false;
    }
}

// The registers as the rules say they must be, replayed from the helper's replies in order.
using Shadow = std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint64_t>;

// Checks one reply against the rules; counts the writes that must have reached a device.
void check(const HelperRecord& reply, Shadow& shadow, int& writes) {
    const bool success = succeeded(reply.status);
    if (reply.operation == HelperOperation::Read && success) {
        require(readable(reply.index) && reply.processor < kProcessors);
        require(shadow[{reply.processor, reply.index}] == reply.value());
    }
    if (reply.operation == HelperOperation::Write && success) {
        std::uint64_t& before = shadow[{reply.processor, reply.index}];
        require(reply.processor < kProcessors && mayReplace(reply.index, before, reply.value()));
        require(reply.status == MsrStatus::Ok || before == reply.value());
        writes += reply.status == MsrStatus::Ok ? 1 : 0;
        before = reply.value();
    }
    require(success || reply.status != MsrStatus::Ok);
}

class NoChannel : public HelperChannel {
  public:
    std::size_t read(std::span<std::byte>) override { return 0; }
    bool write(std::span<const std::byte>) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    testing::MemoryMsrDevices devices(kProcessors);
    devices.writesLocked = (data[0] & 1) != 0;
    if ((data[0] & 2) != 0) {
        devices.failing.insert(0x1A0);
    }
    const std::size_t chunk = 1 + data[1];
    data += 2;
    size -= 2;

    // The registers start from the first bytes of the stream, so that their reserved bits vary.
    Shadow shadow;
    for (std::uint32_t processor = 0; processor < kProcessors; ++processor) {
        for (const std::uint32_t index : kReadable) {
            std::uint64_t value = 0;
            std::memcpy(&value, data, std::min(size, sizeof value));
            devices.at(processor, index) = shadow[{processor, index}] = value;
        }
    }

    const Shadow initial = shadow;
    int writes = 0;
    MsrGate gate(devices);
    NoChannel channel;
    HelperServer server(channel, gate, MsrStatus::Ok, kProcessors);
    std::vector<std::byte> input;
    std::vector<HelperRecord> replies;
    for (std::size_t at = 0; at < size; at += chunk) {
        const auto* bytes = reinterpret_cast<const std::byte*>(data + at);
        input.insert(input.end(), bytes, bytes + std::min(chunk, size - at));
        replies.clear();
        const bool goodbye = server.answer(input, replies);
        for (const HelperRecord& reply : replies) {
            check(reply, shadow, writes);
        }
        require(devices.writes == writes);
        for (const auto& [where, value] : shadow) {
            require(devices.at(where.first, where.second) == value);
        }
        if (goodbye) {
            return 0;
        }
    }
    // What a killed program leaves behind: only clock modulation moves, back to where it began.
    gate.restoreClockModulation();
    for (const auto& [where, value] : shadow) {
        const bool clockModulation = where.second == 0x19A;
        require(devices.at(where.first, where.second) ==
                (clockModulation ? initial.at(where) : value));
    }
    return 0;
}
