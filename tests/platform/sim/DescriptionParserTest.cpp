#include "platform/sim/DescriptionParser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/sim/SimulatedPlatform.h"

namespace calidus {
namespace {

constexpr std::string_view kDesignExample = R"([Machine]
Vendor=GenuineIntel                     ; CPUID leaf 0
Brand=Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz
Signature=0x106A5                       ; CPUID leaf 1 EAX
ApicIds=0,1,2,3,4,5,6,7                 ; initial APIC id of logical processors 0, 1, 2, ...
LogicalPerPackage=16                    ; CPUID leaf 1 EBX bits 23:16
CoresPerPackage=8                       ; CPUID leaf 4 EAX bits 31:26, plus one
MaxLeaf=11                              ; highest standard CPUID leaf
Dts=1                                   ; CPUID leaf 6 EAX bit 0
Sse3=1                                  ; CPUID leaf 1 ECX bit 0
MsrInstructions=1                       ; CPUID leaf 1 EDX bit 5
TscMHz=2666.67
DriverStatus=0                          ; what the driver library's status returns
MsrAvailable=1
Missing=0x1AD                           ; registers whose access fails

[Msr]                                   ; 64-bit values on every logical processor
0x1A2=0x00640000
0x19C=0x88370000

[Msr.2]                                 ; overrides for logical processor 2
0x19C=0x88370000,0x88360000,0x88350000  ; successive reads; the last value repeats
)";

TEST(SimDescriptionParser, ReadsTheDocumentedExample) {
    const DescriptionParse parse = parseMachineDescription(kDesignExample);
    ASSERT_TRUE(parse.description) << parse.error;
    const MachineDescription& d = *parse.description;
    EXPECT_EQ(d.vendor, "GenuineIntel");
    EXPECT_EQ(d.brand, "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz");
    EXPECT_EQ(d.signature, 0x106A5u);
    EXPECT_EQ(d.apicIds, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(d.logicalPerPackage, 16u);
    EXPECT_EQ(d.coresPerPackage, 8u);
    EXPECT_EQ(d.maxLeaf, 11u);
    EXPECT_TRUE(d.dts && d.sse3 && d.msrInstructions && d.msrAvailable);
    EXPECT_DOUBLE_EQ(d.tscMHz, 2666.67);
    EXPECT_EQ(d.driverStatus, 0u);
    EXPECT_EQ(d.missing, (std::set<std::uint32_t>{0x1AD}));
    EXPECT_EQ(d.msr.at(0x1A2), RegisterScript{0x00640000});
    EXPECT_EQ(d.msrOverrides.at(2).at(0x19C), (RegisterScript{0x88370000, 0x88360000, 0x88350000}));
}

TEST(SimDescriptionParser, FillsAbsentKeysWithDefaults) {
    const DescriptionParse parse =
        parseMachineDescription("[machine]\r\nsignature=0x6FB\r\nAPICIDS = 0, 1\r\n");
    ASSERT_TRUE(parse.description) << parse.error;
    const MachineDescription& d = *parse.description;
    EXPECT_EQ(d.vendor, "GenuineIntel");
    EXPECT_EQ(d.brand, "");
    EXPECT_EQ(d.apicIds, (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(d.logicalPerPackage, 2u);
    EXPECT_EQ(d.coresPerPackage, 2u);
    EXPECT_EQ(d.maxLeaf, 10u);
    EXPECT_TRUE(d.dts && d.sse3 && d.msrInstructions && d.msrAvailable);
    EXPECT_DOUBLE_EQ(d.tscMHz, 2000.0);
    EXPECT_TRUE(d.missing.empty() && d.msr.empty());
}

TEST(SimDescriptionParser, RefusesBadValuesNamingKeyAndLine) {
    const std::string head = "[Machine]\nSignature=0x6FB\nApicIds=0,1\n";
    const std::pair<std::string, std::string> cases[] = {
        {"[Machine]\nApicIds=0\n\n; a comment\n\n\nSignature=0x1G\n",
         "line 7: Signature: not a number: 0x1G"},
        {head + "Speed=3\n", "line 4: Speed: unknown key"},
        {head + "[Cpu]\n", "line 4: [Cpu]: unknown section"},
        {head + "[Msr.2]\n0x19C=1\n", "line 4: [Msr.2]: no logical processor 2"},
        {head + "[Msr]\n0x19C=0x88370000,,1\n", "line 5: 0x19C: not a number: "},
        {head + "[Msr]\n0x1Q=1\n", "line 5: 0x1Q: not a number: 0x1Q"},
        {head + "[Msr]\n0x19C=1\n0x19c=2\n", "line 6: 0x19c: given twice"},
        {head + "Brand=" + std::string(49, 'x') + "\n", "line 4: Brand: longer than 48 characters"},
        {head + "Dts=yes\n", "line 4: Dts: not 0 or 1: yes"},
        {head + "LogicalPerPackage=256\n", "line 4: LogicalPerPackage: out of range 1..255: 256"},
        {head + "CoresPerPackage=4\n",
         "line 4: CoresPerPackage: more cores than LogicalPerPackage"},
        {head + "TscMHz=fast\n", "line 4: TscMHz: not a number: fast"},
        {head + "signature=1\n", "line 4: Signature: given twice (first on line 2)"},
        {head + "[Machine]\n", "line 4: [Machine]: section given twice"},
        {"[Machine]\nSignature=0x6FB\nApicIds=0,1,0\n", "line 3: ApicIds: APIC id 0 given twice"},
        {"Vendor=GenuineIntel\n", "line 1: Vendor: outside a section"},
        {head + "Brand\n", "line 4: Brand: not a Key=Value line"},
        {"[Machine]\nSignature=0x6FB\n",
         "ApicIds: not given; every description lists its logical processors"},
        {head + "[Gpu.0]\nName=x\n",
         "line 4: Vendor: not given; every [Gpu.N] names nvidia or ati"},
        {head + "[Gpu.0]\nVendor=intel\n", "line 5: Vendor: not nvidia or ati: intel"},
        {head + "[Gpu.16]\n", "line 4: [Gpu.16]: not a GPU number below 16"},
        {head + "[Gpu.0]\nVendor=ati\nTemperature=50,300\n",
         "line 6: Temperature: out of range 0..255: 300"},
        {head + "[Gpu.0]\nVendor=ati\nFails=fan\n", "line 6: Fails: not a GPU call: fan"},
        {head + "AtiLibrary=broken\n", "line 4: AtiLibrary: not present, missing or fails: broken"},
        {head + "LowestRatio=0\n", "line 4: LowestRatio: out of range 0..255: 0"},
        {head + "[Load]\n2=50\n", "line 5: 2: no logical processor 2"},
        {head + "[Load]\n1=50,101\n", "line 5: 1: out of range 0..100: 101"},
        {head + "[Load]\nAll=5\nall=6\n", "line 6: all: given twice"},
        {head + "[Load]\nSome=5\n", "line 5: Some: not a number: Some"},
    };
    for (const auto& [text, error] : cases) {
        const DescriptionParse parse = parseMachineDescription(text);
        EXPECT_FALSE(parse.description) << text;
        EXPECT_EQ(parse.error, error) << text;
    }
}

TEST(SimDescriptionParser, ReadsGpuSectionsInTheOrderOfTheirNumbers) {
    const DescriptionParse parse = parseMachineDescription(
        "[Machine]\nSignature=0x6FB\nApicIds=0\nNvidiaLibrary=fails\nNvidiaDriver=535.104.05\n"
        "[Gpu.3]\nVendor=ATI\nName=ATI Radeon HD 4800 Series\nOutputs=2\nCoreClock=750\n"
        "Voltage=1263\nFails=Activity\n"
        "[Gpu.1]\nvendor=nvidia\nTemperature=50,128\nMemory=1024\nLinkWidth=16\n");
    ASSERT_TRUE(parse.description) << parse.error;
    const MachineDescription& d = *parse.description;
    ASSERT_EQ(d.gpus.size(), 2u);
    EXPECT_EQ(d.gpus[0].vendor, GpuVendor::Nvidia);
    EXPECT_EQ(d.gpus[0].temperatures, (std::vector<int>{50, 128}));
    EXPECT_EQ(d.gpus[0].memoryMegabytes, 1024);
    EXPECT_EQ(d.gpus[0].linkWidth, 16);
    EXPECT_EQ(d.gpus[0].outputs, 1);
    EXPECT_EQ(d.gpus[1].vendor, GpuVendor::Ati);
    EXPECT_EQ(d.gpus[1].name, "ATI Radeon HD 4800 Series");
    EXPECT_EQ(d.gpus[1].temperatures, std::vector<int>{50});
    EXPECT_EQ(d.gpus[1].outputs, 2);
    EXPECT_EQ(d.gpus[1].coreClockMHz, 750);
    EXPECT_EQ(d.gpus[1].voltageMillivolts, 1263);
    EXPECT_EQ(d.gpus[1].failing, std::set<std::string>{"activity"});
    EXPECT_EQ(d.nvidiaLibrary, GpuLibraryState::Failing);
    EXPECT_EQ(d.atiLibrary, GpuLibraryState::Present);  // a card of its vendor is given
    EXPECT_EQ(d.nvidiaDriver, "535.104.05");
}

TEST(SimDescriptionParser, ReadsLoadsTimedRegistersAndTheLowestRatio) {
    const DescriptionParse parse = parseMachineDescription(
        "[Machine]\nSignature=0x1067A\nApicIds=0,1\nLowestRatio=6\n[Load]\nAll=3\n1=0,12.5,100\n"
        "[TimedMsr]\n0x194=0,0x10800\n");
    ASSERT_TRUE(parse.description) << parse.error;
    const MachineDescription& d = *parse.description;
    EXPECT_DOUBLE_EQ(d.lowestRatio, 6.0);
    EXPECT_EQ(d.loadOfAll, std::vector<double>{3.0});
    EXPECT_EQ(d.load.at(1), (std::vector<double>{0.0, 12.5, 100.0}));
    EXPECT_EQ(d.timedMsr.at(0x194), (RegisterScript{0, 0x10800}));
}

TEST(SimDescriptionParser, EveryBuiltInModelParses) {
    std::set<std::string> names;
    for (const BuiltInModel& model : builtInModels()) {
        const DescriptionParse parse = parseMachineDescription(model.description);
        ASSERT_TRUE(parse.description) << model.name << ": " << parse.error;
        EXPECT_TRUE(names.insert(model.name).second) << model.name;
        EXPECT_FALSE(model.summary.empty());
    }
    EXPECT_TRUE(names.count("i7-920"));  // the machine the README starts
    EXPECT_EQ(names.size(), 11u);
}

TEST(SimDescriptionParser, LoadingNamesTheFileOfARefusedDescription) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "calidus-sim-refused.ini";
    std::ofstream(file) << "[Machine]\nApicIds=0\nSignature=0x1G\n";
    const SimulatedMachineLoad load = loadSimulatedMachine(file.string());
    std::filesystem::remove(file);
    EXPECT_EQ(load.error, file.string() + ": line 3: Signature: not a number: 0x1G");
    EXPECT_FALSE(load.platform.driver);

    EXPECT_NE(loadSimulatedMachine("i7-921").error.find("neither a built-in model"),
              std::string::npos);

    // A device would never end, a huge file would take gigabytes, an empty one says nothing.
    const std::filesystem::path empty =
        std::filesystem::temp_directory_path() / "calidus-sim-empty.ini";
    std::ofstream(empty).flush();
    const std::filesystem::path huge =
        std::filesystem::temp_directory_path() / "calidus-sim-huge.ini";
    std::ofstream(huge) << "[Machine]\n" << std::string(2 * 1024 * 1024, ';');
    for (const auto& [file, reason] :
         {std::pair<std::string, std::string>{"/dev/zero", "must be a regular file"},
          {empty.string(), "is empty"},
          {huge.string(), "larger than a machine description can be"}}) {
        EXPECT_NE(loadSimulatedMachine(file).error.find(reason), std::string::npos) << file;
    }
    std::filesystem::remove(empty);
    std::filesystem::remove(huge);
}

}  // namespace
}  // namespace calidus
