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

enum class GpuVendor { Nvidia, Ati };

// One graphics card of a simulated machine.
struct GpuDescription {
    GpuVendor vendor = GpuVendor::Nvidia;
    std::string name;
    std::vector<int> temperatures;  // degrees Celsius, successive reads; the last one repeats
    int memoryMegabytes = 0;
    int linkWidth = 0;
    int coreClockMHz = 0;
    int memoryClockMHz = 0;
    int voltageMillivolts = 0;
    int outputs = 1;                // adapter indices the AMD library lists for the card
    std::set<std::string> failing;  // calls that fail for this card
};

// What loading a vendor's GPU library does.
enum class GpuLibraryState { Present, Missing, Failing };

// Whether register access asks for authentication (pkexec, as for a user who is not root), and
// how the person answers.
enum class Authentication { NotAsked, Granted, Dismissed, Refused };

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
    Authentication authentication = Authentication::NotAsked;
    bool writesLocked = false;  // the kernel refuses register writes; reads work
    bool coretemp = false;      // the kernel's coretemp files exist, readable without privilege
    std::set<std::uint32_t> missing;
    RegisterFile msr;                          // every logical processor
    std::map<int, RegisterFile> msrOverrides;  // by logical processor
    std::vector<GpuDescription> gpus;          // in the order of their section numbers
    GpuLibraryState nvidiaLibrary = GpuLibraryState::Missing;
    GpuLibraryState atiLibrary = GpuLibraryState::Missing;
    std::string nvidiaDriver;
    // Registers of every logical processor that change with time: one value per simulated
    // second, the last repeating. A flexible ratio (0x194) here also sets the time-stamp rate.
    RegisterFile timedMsr;
    // The ratio an idle processor drops to; 0: the ratio stays as IA32_PERF_STATUS describes it.
    double lowestRatio = 0.0;
    // Busy per cent, one value per simulated second, the last repeating: by logical processor,
    // and for every processor without its own script. A processor without either follows the
    // real machine's load.
    std::map<int, std::vector<double>> load;
    std::vector<double> loadOfAll;

    int processorCount() const { return static_cast<int>(apicIds.size()); }
};

}  // namespace calidus
