#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "cpu/BrandReading.h"
#include "cpu/ProcessorInfo.h"
#include "cpu/TjMaxSelection.h"
#include "support/FakePlatform.h"

namespace calidus {
namespace {

constexpr std::uint32_t kMsrInstructions = 1u << 5;
constexpr std::uint32_t kSse3 = 1u;

// A machine whose CPUID answers with the given brand (NUL-padded to 48 bytes) and signature.
struct Machine {
    testing::FakeMachine fake;
    Platform platform;
    ProcessorAccess access;

    explicit Machine(std::string_view brand, std::uint32_t signature = 0x10676)
        : platform(testing::makeFakePlatform(fake)), access(platform) {
        access.setSystemMask(0xFF);
        setIntel(10);
        fake.setCpuid(0, 1, CpuidResult{.eax = signature, .ecx = kSse3, .edx = kMsrInstructions});
        fake.setCpuid(0, 6, CpuidResult{.eax = 1});
        setBrand(brand);
    }

    void setIntel(std::uint32_t maxLeaf) {
        fake.setCpuid(0, 0, CpuidResult{maxLeaf, 0x756E6547, 0x6C65746E, 0x49656E69});
    }

    void setBrand(std::string_view brand) { fake.setBrand(brand); }
};

struct Identified {
    bool supported = false;
    ProcessorInfo info;
    CoreCalibration calibration;
    bool killMHz = false;
};

Identified identify(Machine& machine, const Edition& edition) {
    Identified result;
    result.supported = checkSupport(machine.access, edition, result.info);
    result.killMHz = chooseTjMaxFromTables(result.info, result.calibration, edition);
    return result;
}

struct Expected {
    std::string_view modelNumber;
    std::string_view modelText;
    int tjMax;
    bool mobile;
    bool killMHz;  // the XL edition never has it
};

struct ModelCase {
    std::string_view brand;
    std::uint32_t signature;
    Expected standard;
    Expected xl;
};

// clang-format off
constexpr ModelCase kModels[] = {
    // Core 2 desktop
    {"Intel(R) Core(TM)2 CPU          6600  @ 2.40GHz", 0x6F6,
     {"E6600", "E6600", 90, false, false}, {"E6600", "Intel E6600", 90, false, false}},
    {"Intel(R) Core(TM)2 Duo CPU     E6750  @ 2.66GHz", 0x6FB,
     {"E6750", "E6750", 100, false, false}, {"E6750", "Intel E6750", 100, false, false}},
    {"Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz", 0x1067A,
     {"E8400", "E8400", 100, false, false}, {"E8400", "Intel E8400", 100, false, false}},
    {"Intel(R) Pentium(R) Dual  CPU  E2180  @ 2.00GHz", 0x6FD,
     {"E2180", "E2180", 90, false, false}, {"E2180", "Intel E2180", 90, false, false}},
    {"Intel(R) Celeron(R) CPU        E1200  @ 1.60GHz", 0x6FD,
     {"E1200", "E1200", 90, false, false}, {"E1200", "Intel E1200", 90, false, false}},
    // Quad and Extreme
    {"Intel(R) Core(TM)2 Quad CPU    Q6600  @ 2.40GHz", 0x6FB,
     {"Q6600", "Quad Q6600", 100, false, false}, {"Q6600", "Intel Quad Q6600", 100, false, false}},
    {"Intel(R) Core(TM)2 Quad  CPU   Q9450  @ 2.66GHz", 0x10677,
     {"Q9450", "Quad Q9450", 100, false, false}, {"Q9450", "Intel Quad Q9450", 100, false, false}},
    {"Intel(R) Core(TM)2 Quad CPU           @ 2.66GHz", 0x6F7,
     {"QX6700", "Quad QX6700", 90, false, false}, {"QX6700", "Intel Quad QX6700", 90, false, false}},
    {"Intel(R) Core(TM)2 Extreme CPU X9650  @ 3.00GHz", 0x10676,
     {"QX9650", "QX9650", 100, false, false}, {"QX9650", "Intel QX9650", 100, false, false}},
    {"Intel(R) Core(TM)2 Extreme CPU Q6800  @ 2.93GHz", 0x6FB,
     {"QX6800", "QX6800", 100, false, false}, {"QX6800", "Intel QX6800", 100, false, false}},
    {"Intel(R) Core(TM)2 CPU         X6800  @ 2.93GHz", 0x6F6,
     {"X6800", "X6800", 90, false, false}, {"X6800", "Intel X6800", 90, false, false}},
    // Core 2 and Core mobile
    {"Intel(R) Core(TM)2 Duo CPU     T9300  @ 2.50GHz", 0x10676,
     {"T9300", "T9300", 105, true, true}, {"T9300", "Intel T9300", 105, true, false}},
    {"Intel(R) Core(TM)2 Duo CPU     T7500  @ 2.20GHz", 0x6FA,
     {"T7500", "T7500", 100, true, true}, {"T7500", "Intel T7500", 100, false, false}},
    {"Intel(R) Core(TM)2 CPU         T5600  @ 1.83GHz", 0x6F6,
     {"T5600", "T5600", 100, true, true}, {"T5600", "Intel T5600", 100, false, false}},
    {"Intel(R) Core(TM)2 Duo CPU     L7500  @ 1.60GHz", 0x6FB,
     {"L7500", "L7500", 100, true, true}, {"L7500", "Intel L7500", 100, false, false}},
    {"Intel(R) Core(TM)2 Duo CPU     P7350  @ 2.00GHz", 0x10676,
     {"P7350", "P7350", 90, true, true}, {"P7350", "Intel P7350", 90, true, false}},
    {"Intel(R) Core(TM)2 Duo CPU    SL9400  @ 1.86GHz", 0x10676,
     {"SL9400", "SL9400", 105, true, true}, {"SL9400", "Intel SL9400", 105, true, false}},
    {"Intel(R) Core(TM)2 Extreme CPU X9100  @ 3.06GHz", 0x10676,
     {"X9100", "X9100", 105, true, true}, {"X9100", "Intel X9100", 105, true, false}},
    {"Intel(R) Core(TM)2 Quad  CPU   Q9000  @ 2.00GHz", 0x1067A,
     {"Q9000", "Quad Q9000", 100, true, true}, {"Q9000", "Intel Quad Q9000", 100, true, false}},
    {"Genuine Intel(R) CPU           T2400  @ 1.83GHz", 0x6E8,
     {"T2400", "T2400", 100, true, true}, {"T2400", "Intel T2400", 100, false, false}},
    // Xeon
    {"Intel(R) Xeon(R) CPU           E5420  @ 2.50GHz", 0x10676,
     {"E5420", "Xeon E5420", 90, false, false}, {"E5420", "Intel Xeon E5420", 90, false, false}},
    {"Intel(R) Xeon(R) CPU            5160  @ 3.00GHz", 0x6F6,
     {"5160", "Xeon 5160", 90, false, false}, {"5160", "Intel Xeon 5160", 90, false, false}},
    {"Intel(R) Xeon(R) CPU           X5570  @ 2.93GHz", 0x106A5,
     {"X5570", "Xeon X5570", 100, false, false}, {"X5570", "Intel Xeon X5570", 100, false, false}},
    {"Intel(R) Xeon(R) CPU           X5680  @ 3.33GHz", 0x206C2,
     {"X5680", "Xeon X5680", 100, false, false}, {"X5680", "Intel Xeon X5680", 100, false, false}},
    // Atom
    {"Intel(R) Atom(TM) CPU N270   @ 1.60GHz", 0x106C2,
     {"N270", "Atom N270", 90, true, true}, {"N270", "Intel Atom N270", 90, true, false}},
    {"Intel(R) Atom(TM) CPU D510   @ 1.66GHz", 0x106CA,
     {"D510", "Atom D510", 100, true, true}, {"D510", "Intel Atom D510", 100, false, false}},
    // Core i3/i5/i7
    {"Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz", 0x106A5,
     {"Core i7-920", "Core i7-920", 100, false, false},
     {"Core i7-920", "Intel Core i7-920", 100, false, false}},
    {"Intel(R) Core(TM) i7 CPU         965  @ 3.20GHz", 0x106A4,
     {"Core i7-965", "Core i7-965", 100, false, false},
     {"Core i7-965", "Intel Core i7-965", 100, false, false}},
    {"Intel(R) Core(TM) i7 CPU         860  @ 2.80GHz", 0x106E5,
     {"Core i7-860", "Core i7-860", 100, false, false},
     {"Core i7-860", "Intel Core i7-860", 100, false, false}},
    {"Intel(R) Core(TM) i7 CPU       S 860  @ 2.53GHz", 0x106E5,
     {"Core i7-860S", "Core i7-860S", 100, false, false},
     {"Core i7-860", "Intel Core i7-860", 100, false, false}},
    {"Intel(R) Core(TM) i7 CPU       Q 720  @ 1.60GHz", 0x106E5,
     {"Core i7-720QM", "Core i7-720QM", 100, false, false},
     {"Core i7-720QM", "Intel Core i7-720QM", 100, false, false}},
    {"Intel(R) Core(TM) i5 CPU         750  @ 2.67GHz", 0x106E5,
     {"Core i5-750", "Core i5-750", 100, false, false},
     {"Core i5-750", "Intel Core i5-750", 100, false, false}},
    {"Intel(R) Core(TM) i5 CPU         661  @ 3.33GHz", 0x20655,
     {"Core i5-661", "Core i5-661", 100, false, false},
     {"Core i5-661", "Intel Core i5-661", 100, false, false}},
    {"Intel(R) Core(TM) i5 CPU       M 520  @ 2.40GHz", 0x20655,
     {"Core i5-520", "Core i5-520", 100, false, false},
     {"Core i5-520", "Intel Core i5-520", 100, false, false}},
    {"Intel(R) Core(TM) i7 CPU       X 980  @ 3.33GHz", 0x206C2,
     {"Core i7-980X", "Core i7-980X", 100, false, false},
     {"Core i7-980X", "Intel Core i7-980X", 100, false, false}},
    // The hyphen joins the number to "i7", so no token: only the family prefix remains.
    {"Intel(R) Core(TM) i7-2600K CPU @ 3.40GHz", 0x206A7,
     {"Core i7-", "Core i7-", 100, false, false}, {"Core i7-", "Intel Core i7-", 100, false, false}},
};
// clang-format on

void expectIdentified(const ModelCase& model, const Edition& edition, const Expected& expected) {
    SCOPED_TRACE(std::string(edition.programName) + ": " + std::string(model.brand));
    Machine machine(model.brand, model.signature);
    const Identified result = identify(machine, edition);
    EXPECT_TRUE(result.supported);
    EXPECT_EQ(result.info.brandString, model.brand);
    EXPECT_EQ(result.info.modelNumber, expected.modelNumber);
    EXPECT_EQ(result.info.modelText, expected.modelText);
    EXPECT_EQ(result.info.mobileFlag, expected.mobile);
    EXPECT_EQ(result.killMHz, expected.killMHz);
    for (int n = 0; n < CoreCalibration::kSlots; ++n) {
        EXPECT_EQ(result.calibration.tjMax[static_cast<std::size_t>(n)], expected.tjMax);
    }
}

TEST(ProcessorIdentification, RealBrandStringsInBothEditions) {
    for (const ModelCase& model : kModels) {
        expectIdentified(model, Edition::standard(), model.standard);
        expectIdentified(model, Edition::xl(), model.xl);
    }
}

TEST(ProcessorIdentification, BareNumbersTakeTheirSeriesFromTheSignature) {
    struct Bare {
        std::string_view number;
        std::uint32_t signature;
        std::string_view model;
    };
    for (const Bare& bare : {Bare{"7500", 0x6FA, "LT7500"}, Bare{"7500", 0x6FD, "UT7500"},
                             Bare{"7200", 0x10676, "E7200"}, Bare{"7200", 0x6F6, "T7200"},
                             Bare{"6850", 0x6FB, "E6850"}, Bare{"9650", 0x10676, "QX9650"},
                             Bare{"5460", 0x10676, "X5460"}, Bare{"0000", 0x106A2, "X5570"}}) {
        Machine machine("Intel(R) CPU " + std::string(bare.number) + "  @ 2.00GHz", bare.signature);
        EXPECT_EQ(identify(machine, Edition::standard()).info.modelNumber, bare.model)
            << bare.number << " on " << std::hex << bare.signature;
    }
    Machine quad("Intel(R) Core(TM)2 Quad CPU 6850 @ 3.00GHz", 0x6FB);
    EXPECT_EQ(identify(quad, Edition::standard()).info.modelNumber, "QX6850");

    Machine lowVoltage("Intel(R) Core(TM)2 Duo CPU L9400 @ 1.86GHz", 0x10676);
    EXPECT_EQ(identify(lowVoltage, Edition::standard()).info.modelNumber, "SL9400");
    EXPECT_EQ(identify(lowVoltage, Edition::xl()).info.modelNumber, "L9400");
}

TEST(ProcessorIdentification, TokenScanEdges) {
    // A number that runs to the last of the 48 positions is closed by a NUL, not lengthened.
    constexpr std::string_view kFull = "Intel(R) Xeon(R) CPU                        5160";
    ASSERT_EQ(kFull.size(), 48u);
    Machine atEnd(kFull, 0x6F6);
    EXPECT_EQ(identify(atEnd, Edition::standard()).info.modelNumber, "5160");

    // The character after the digits joins the token, which then misses the four-digit rules.
    Machine closed("Intel(R) Core(TM) i5 CPU         750S @ 2.40GHz", 0x106E5);
    EXPECT_EQ(identify(closed, Edition::standard()).info.modelNumber, "Core i5-750S");

    Machine noNumber("Intel(R) Processor @ 1.00GHz", 0x10676);
    EXPECT_EQ(identify(noNumber, Edition::standard()).info.modelNumber, "-----");
    EXPECT_EQ(identify(noNumber, Edition::xl()).info.modelText, "Intel -----");

    Machine noBrand("Intel(R) Core(TM)2 Quad CPU    Q6600  @ 2.40GHz", 0x6FB);
    noBrand.fake.setCpuid(0, 0x80000000, CpuidResult{.eax = 0x80000003});
    const Identified missing = identify(noBrand, Edition::standard());
    EXPECT_EQ(missing.info.brandString, "");
    EXPECT_EQ(missing.info.modelNumber, "-----");
}

TEST(ProcessorIdentification, BrandBytesAboveAsciiBecomeValidText) {
    Machine machine("Intel\xAE CPU E8400 @ 3.00GHz");
    const Identified result = identify(machine, Edition::standard());
    EXPECT_EQ(result.info.brandString, "Intel\xEF\xBE\xAE CPU E8400 @ 3.00GHz");
    EXPECT_EQ(result.info.modelNumber, "E8400");
}

TEST(ReadBrand, PinsTheThreadOrTheProcessToProcessorZeroAndRestoresTheSystemMask) {
    Machine machine("Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz");
    machine.fake.threadMaskHistory.clear();
    EXPECT_EQ(readBrand(machine.access, Edition::standard()).modelNumber, "E8400");
    EXPECT_EQ(machine.fake.threadMaskHistory, (std::vector<std::uint32_t>{0x01, 0xFF}));
    EXPECT_TRUE(machine.fake.processMaskHistory.empty());

    machine.fake.threadMaskHistory.clear();
    EXPECT_EQ(readBrand(machine.access, Edition::xl()).modelNumber, "E8400");
    EXPECT_EQ(machine.fake.processMaskHistory, (std::vector<std::uint32_t>{0x01, 0xFF}));
    EXPECT_TRUE(machine.fake.threadMaskHistory.empty());
}

TEST(CheckSupport, VendorSignatureAndFeaturesUnlessTheThermalSensorOverrides) {
    Machine intel("Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz", 0x1067A);
    Identified ok = identify(intel, Edition::standard());
    EXPECT_TRUE(ok.supported);
    EXPECT_EQ(ok.info.vendorText, "GenuineIntel");
    EXPECT_FALSE(ok.info.platformInfoClass);

    // Without leaf 6 the feature checks decide.
    Machine netBurst("Intel(R) Pentium(R) 4 CPU 3.00GHz", 0xF43);
    netBurst.setIntel(5);
    EXPECT_FALSE(identify(netBurst, Edition::standard()).supported);
    Machine noSse3("Intel(R) CPU E8400 @ 3.00GHz", 0x1067A);
    noSse3.setIntel(5);
    noSse3.fake.setCpuid(0, 1, CpuidResult{.eax = 0x1067A, .edx = kMsrInstructions});
    EXPECT_FALSE(identify(noSse3, Edition::standard()).supported);
    Machine noMsr("Intel(R) CPU E8400 @ 3.00GHz", 0x1067A);
    noMsr.setIntel(5);
    noMsr.fake.setCpuid(0, 1, CpuidResult{.eax = 0x1067A, .ecx = kSse3});
    EXPECT_FALSE(identify(noMsr, Edition::standard()).supported);

    // A digital thermal sensor is enough, whatever else was found.
    netBurst.setIntel(6);
    EXPECT_TRUE(identify(netBurst, Edition::standard()).supported);

    Machine other("AMD Phenom(tm) II X4 940 Processor", 0x100F42);
    other.fake.setCpuid(0, 0, CpuidResult{5, 0x68747541, 0x444D4163, 0x69746E65});
    Identified refused = identify(other, Edition::standard());
    EXPECT_FALSE(refused.supported);
    EXPECT_EQ(unsupportedProcessorMessage(refused.info),
              "The processor detected is not supported.\n\n\nAMD Phenom(tm) II X4 940 "
              "Processor\n\n");
}

TEST(CheckSupport, SignatureTextsAndPlatformInfoClass) {
    Machine core2("Intel(R) Core(TM)2 Quad CPU    Q6600  @ 2.40GHz", 0x0FF036FB);
    const ProcessorInfo q6600 = identify(core2, Edition::standard()).info;
    EXPECT_EQ(q6600.cpuSignature, 0x6FBu) << "processor type and extended family are dropped";
    EXPECT_EQ(q6600.longSignatureText(), "006FB");
    EXPECT_EQ(q6600.shortSignatureText(), "06FB");

    Machine nehalem("Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz", 0x106A5);
    const ProcessorInfo i7 = identify(nehalem, Edition::standard()).info;
    EXPECT_TRUE(i7.platformInfoClass);
    EXPECT_EQ(i7.longSignatureText(), "106A5");
    EXPECT_EQ(i7.shortSignatureText(), "106A5");

    EXPECT_FALSE(hasPlatformInfo(0x1069F));
    EXPECT_TRUE(hasPlatformInfo(0x106AF));
    EXPECT_FALSE(hasPlatformInfo(0x106C2));
    EXPECT_TRUE(hasPlatformInfo(0x106E0));
    EXPECT_TRUE(hasPlatformInfo(0x206A7));
}

TEST(ClearCpuidLimit, ClearsOnlyBit22OfMiscEnableOnProcessorZero) {
    Machine machine("");
    machine.fake.setMsr(0, 0x1A0, 0x0000'0040'0040'0089);
    machine.fake.setMsr(3, 0x1A0, 0x0000'0040'0040'0089);
    machine.fake.threadMask = 0x8;
    clearCpuidLimit(machine.access);
    EXPECT_EQ(machine.fake.getMsr(0, 0x1A0), 0x0000'0040'0000'0089u);
    EXPECT_EQ(machine.fake.getMsr(3, 0x1A0), 0x0000'0040'0040'0089u);
}

}  // namespace
}  // namespace calidus
