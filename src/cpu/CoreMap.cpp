#include "cpu/CoreMap.h"

#include <algorithm>

#include <cstddef>

namespace calidus {

namespace {

constexpr int kHighestMappedProcessor = 15;
constexpr int kHighestApicTextProcessor = 7;

std::uint32_t initialApicId(ProcessorAccess& access) {
    return access.cpuid(1).ebx >> 24;
}

// Bits 3, 5, 6 and 7 are dropped and a second package (bit 4) lands at 8 and up, so that
// with two threads per core it continues at core number 4.
std::uint32_t coreNumber(std::uint32_t apicId, bool hyperThreading) {
    std::uint32_t a = apicId & 0x17;
    if (a & 0x10) {
        a -= 8;
    }
    return hyperThreading ? a >> 1 : a;
}

}  // namespace

CoreMap buildCoreMap(ProcessorAccess& access, const Edition& edition) {
    CoreMap map;
    const std::uint32_t logicalPerPackage = (access.cpuid(1).ebx >> 16) & 0xFF;
    const std::uint32_t coresPerPackage = (access.cpuid(4, 0).eax >> 26) + 1;
    map.hyperThreading = logicalPerPackage / coresPerPackage > 1;

    for (int p = 0; p <= kHighestMappedProcessor; ++p) {
        const std::uint32_t bit = 1u << p;
        if ((access.systemMask() & bit) == 0) {
            continue;
        }
        // Read elsewhere, the APIC id would give this processor another core's number.
        if (!access.pinToProcessor(bit)) {
            continue;
        }
        const std::uint32_t core = coreNumber(initialApicId(access), map.hyperThreading);
        if (core >= map.coreMask.size()) {
            continue;
        }
        std::uint32_t& entry = map.coreMask[core];
        if (edition.orsThreadsIntoCore) {
            entry |= bit;
        } else if (entry == 0) {
            entry = bit;
        }
    }
    access.unpin();
    return map;
}

int selectSecondPackage(CoreMap& map, int skull) {
    // Only the packages that exist can be chosen or named in the heading.
    const bool secondPackage =
        std::any_of(map.coreMask.begin() + 4, map.coreMask.end(), [](auto mask) { return mask; });
    if (skull < 0 || skull > 3 || (skull >= 2 && !secondPackage)) {
        skull = 0;
    }
    int heading = skull;
    if (skull == 2) {
        for (std::size_t n = 0; n < 4; ++n) {
            map.coreMask[n] = map.coreMask[n + 4];
        }
    } else if (skull == 3) {
        map.coreMask[2] = map.coreMask[6];
        map.coreMask[3] = map.coreMask[7];
        heading = 0;
    }
    for (std::size_t n = 4; n < map.coreMask.size(); ++n) {
        map.coreMask[n] = 0;
    }
    return heading;
}

void fixCoreGap(CoreMap& map) {
    if (map.coreMask[1] == 0) {
        map.coreMask[1] = map.coreMask[2];
        map.coreMask[2] = 0;
    }
}

std::string apicIdText(ProcessorAccess& access, const Edition& edition) {
    std::string text;
    for (int p = 0; p <= kHighestApicTextProcessor; ++p) {
        const std::uint32_t bit = 1u << p;
        if ((access.systemMask() & bit) == 0) {
            continue;
        }
        if (!access.pinToProcessor(bit)) {
            continue;
        }
        text += std::to_string(initialApicId(access) & 7);
        if (edition.apicIdTextHasBlanks) {
            text += ' ';
        }
    }
    access.unpinAndYield();
    return text;
}

}  // namespace calidus
