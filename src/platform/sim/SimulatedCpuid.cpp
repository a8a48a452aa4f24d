#include "platform/sim/SimulatedCpuid.h"

#include <string_view>

namespace calidus {

namespace {

constexpr std::uint32_t kBrandFirstLeaf = 0x80000002;
constexpr std::uint32_t kBrandLastLeaf = 0x80000004;

// Four characters of a text, the first in the lowest byte, NUL past its end.
std::uint32_t packed(std::string_view text, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t at = offset + i;
        const auto byte = at < text.size() ? static_cast<unsigned char>(text[at]) : 0u;
        value |= static_cast<std::uint32_t>(byte) << (8 * i);
    }
    return value;
}

CpuidResult vendorLeaf(const MachineDescription& machine) {
    return {machine.maxLeaf, packed(machine.vendor, 0), packed(machine.vendor, 8),
            packed(machine.vendor, 4)};
}

CpuidResult standardLeaf(const MachineDescription& machine, int processor, std::uint32_t leaf,
                         std::uint32_t subleaf) {
    switch (leaf) {
        case 1:
            return {machine.signature,
                    machine.apicIds[static_cast<std::size_t>(processor)] << 24 |
                        machine.logicalPerPackage << 16,
                    machine.sse3 ? 1u : 0u, machine.msrInstructions ? 1u << 5 : 0u};
        case 4:
            return {subleaf == 0 ? (machine.coresPerPackage - 1) << 26 : 0u, 0, 0, 0};
        case 6:
            return {machine.dts ? 1u : 0u, 0, 0, 0};
        default:
            return {};
    }
}

CpuidResult extendedLeaf(const MachineDescription& machine, std::uint32_t leaf) {
    const bool hasBrand = !machine.brand.empty();
    if (leaf == 0x80000000) {
        return {hasBrand ? 0x80000008u : 0x80000001u, 0, 0, 0};
    }
    if (!hasBrand || leaf < kBrandFirstLeaf || leaf > kBrandLastLeaf) {
        return {};
    }
    const std::size_t offset = (leaf - kBrandFirstLeaf) * 16;
    return {packed(machine.brand, offset), packed(machine.brand, offset + 4),
            packed(machine.brand, offset + 8), packed(machine.brand, offset + 12)};
}

}  // namespace

CpuidResult simulatedCpuid(const MachineDescription& machine, int processor, std::uint32_t leaf,
                           std::uint32_t subleaf) {
    if (leaf == 0) {
        return vendorLeaf(machine);
    }
    if (leaf >= 0x80000000) {
        return extendedLeaf(machine, leaf);
    }
    return leaf <= machine.maxLeaf ? standardLeaf(machine, processor, leaf, subleaf)
                                   : CpuidResult{};
}

}  // namespace calidus
