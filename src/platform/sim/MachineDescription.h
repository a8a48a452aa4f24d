#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace calidus {

// Successive values one register gives when read; the last one repeats.
using RegisterScript = std::vector<std::uint64_t>;
using RegisterFile = std::map<std::uint32_t, RegisterScript>;

// One simulated machine as its description file gives it (defaults in DescriptionParser.cpp).
struct MachineDescription {
    std::string vendor;
    std::string brand;
    std::uint32_t signature = 0;
    std::vector<std::uint32_t> apicIds;  // one per logical processor, in processor order
    std::uint32_t logicalPerPackage = 0;
    std::uint32_t coresPerPackage = 0;
    std::uint32_t maxLeaf = 0;
    bool dts = false;
    bool sse3 = false;
    bool msrInstructions = false;
    double tscMHz = 0.0;
    std::uint32_t driverStatus = 0;
    bool msrAvailable = false;
    std::set<std::uint32_t> missing;
    RegisterFile msr;                          // every logical processor
    std::map<int, RegisterFile> msrOverrides;  // by logical processor

    int processorCount() const { return static_cast<int>(apicIds.size()); }
};

}  // namespace calidus
