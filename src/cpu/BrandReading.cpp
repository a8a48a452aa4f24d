#include "cpu/BrandReading.h"

#include <array>

#include "cpu/ModelNumber.h"

namespace calidus {

namespace {

constexpr std::uint32_t kFirstProcessor = 1;
constexpr std::uint32_t kBrandFirstLeaf = 0x80000002;
constexpr std::uint32_t kBrandLastLeaf = 0x80000004;

// Every processor of a package answers the brand leaves alike, so a refused pin changes nothing.
void pinForBrand(ProcessorAccess& access, const Edition& edition) {
    if (edition.brandReadPinsProcess) {
        access.pinProcessToProcessor(kFirstProcessor);
    } else {
        access.pinToProcessor(kFirstProcessor);
    }
}

void unpinAfterBrand(ProcessorAccess& access, const Edition& edition) {
    if (edition.brandReadPinsProcess) {
        access.unpinProcess();
    } else {
        access.unpinAndYield();
    }
}

BrandCharacters readBrandCharacters(ProcessorAccess& access) {
    BrandCharacters chars{};
    std::size_t at = 0;
    for (std::uint32_t leaf = kBrandFirstLeaf; leaf <= kBrandLastLeaf; ++leaf) {
        const CpuidResult r = access.cpuid(leaf);
        for (std::uint32_t reg : {r.eax, r.ebx, r.ecx, r.edx}) {
            for (int byte = 0; byte < 4; ++byte) {
                chars[at++] = static_cast<char>(reg >> (8 * byte));
            }
        }
    }
    return chars;
}

}  // namespace

BrandReading readBrand(ProcessorAccess& access, const Edition& edition) {
    BrandReading reading;
    pinForBrand(access, edition);
    if (access.cpuid(0x80000000).eax >= kBrandLastLeaf) {
        const BrandCharacters chars = readBrandCharacters(access);
        const std::uint32_t signature = access.cpuid(1).eax & 0xF0FFF;
        reading.brandString = brandText(chars);
        reading.modelNumber = modelNumberFromBrand(chars, signature, edition);
    }
    unpinAfterBrand(access, edition);
    if (reading.modelNumber.empty()) {
        reading.modelNumber = "-----";
    }
    return reading;
}

}  // namespace calidus
