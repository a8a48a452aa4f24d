#include "cpu/TjMaxSelection.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace calidus {
namespace {

using Slots = std::array<int, CoreCalibration::kSlots>;

std::uint64_t temperatureTarget(int tjMax) {
    return static_cast<std::uint64_t>(tjMax) << 16;
}

struct Fixture {
    testing::FakeMachine fake;
    Platform platform = testing::makeFakePlatform(fake);
    ProcessorAccess access{platform};
    ProcessorInfo info;
    CoreMap map;
    CoreCalibration calibration;

    Fixture() {
        access.setSystemMask(0xFFF);
        info.cpuSignature = 0x206C2;
        info.platformInfoClass = true;
    }
};

TEST(ChooseTjMaxFromProcessor, ReadsEachPresentCoreAndReplacesImplausibleValues) {
    Fixture f;
    f.map.coreMask = {0x1, 0x4, 0x10, 0, 0x40, 0x100, 0x400, 0};
    f.fake.setMsr(0, 0x1A2, temperatureTarget(100) | 0x00FF'0000'0000'1234u);
    f.fake.setMsr(2, 0x1A2, 0);
    f.fake.setMsr(4, 0x1A2, temperatureTarget(69));
    f.fake.setMsr(6, 0x1A2, temperatureTarget(70));
    f.fake.setMsr(8, 0x1A2, temperatureTarget(0x80 | 98));  // bit 23 is not part of the value
    f.fake.setMsr(10, 0x1A2, temperatureTarget(105));

    CoreCalibration standard;
    chooseTjMaxFromProcessor(f.access, f.info, f.map, standard, Edition::standard());
    EXPECT_EQ(standard.tjMax, (Slots{100, 100, 100, 100, 100, 100, 100, 100}));
    EXPECT_EQ(f.fake.msrReads,
              (std::vector<std::pair<int, std::uint32_t>>{{0, 0x1A2}, {2, 0x1A2}, {4, 0x1A2}}));
    EXPECT_TRUE(f.fake.threadMaskHistory.empty());

    CoreCalibration xl;
    chooseTjMaxFromProcessor(f.access, f.info, f.map, xl, Edition::xl());
    EXPECT_EQ(xl.tjMax, (Slots{100, 100, 100, 100, 70, 98, 105, 100}));

    f.fake.setMsr(0, 0x1A2, temperatureTarget(90));
    f.info.platformInfoClass = false;
    CoreCalibration core2;
    chooseTjMaxFromProcessor(f.access, f.info, f.map, core2, Edition::standard());
    EXPECT_EQ(core2.tjMax[0], 100) << "older processors keep the table value";
}

TEST(ChooseTjMaxFromProcessor, Core_i7_920TakesTheValueItReports) {
    Fixture f;
    f.info.cpuSignature = 0x106A5;
    f.info.modelNumber = "Core i7-920";
    f.info.brandString = "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz";
    f.map.coreMask = {0x1, 0x4, 0x10, 0x40, 0, 0, 0, 0};
    for (int cpu = 0; cpu < 8; ++cpu) {
        f.fake.setMsr(cpu, 0x1A2, temperatureTarget(100 - cpu));
    }
    EXPECT_FALSE(chooseTjMaxFromTables(f.info, f.calibration, Edition::standard()));
    chooseTjMaxFromProcessor(f.access, f.info, f.map, f.calibration, Edition::standard());
    EXPECT_EQ(f.calibration.tjMax, (Slots{100, 98, 96, 94, 100, 100, 100, 100}));
}

TEST(IdleTenths, RoundsHalfAwayFromZeroAndDropsValuesOutOfRange) {
    EXPECT_EQ(idleTenths("1.25"), 13);
    EXPECT_EQ(idleTenths("-0.05"), -1);
    EXPECT_EQ(idleTenths("9.9"), 99);
    EXPECT_EQ(idleTenths("9.96"), 0) << "rounds to 10.0";
    EXPECT_EQ(idleTenths("-19.9"), -199);
    EXPECT_EQ(idleTenths("-19.96"), 0);
    EXPECT_EQ(idleTenths("-25.0"), 0);
    EXPECT_EQ(idleTenths(" +2.0 "), 20);
    EXPECT_EQ(idleTenths("3abc"), 30) << "reads the leading number like the C library";
    EXPECT_EQ(idleTenths(""), 0);
    EXPECT_EQ(idleTenths("abc"), 0);
    EXPECT_EQ(idleTenths("+-1"), 0);
    EXPECT_EQ(idleTenths("1e300"), 0);
    EXPECT_EQ(idleTenths("nan"), 0);
}

TEST(KillMHz, TheSettingOverridesTheModelTables) {
    ProcessorInfo p7350;
    p7350.cpuSignature = 0x10676;
    p7350.modelNumber = "P7350";
    CoreCalibration calibration;
    const bool flagged = chooseTjMaxFromTables(p7350, calibration, Edition::standard());
    ASSERT_TRUE(flagged);
    EXPECT_FALSE(killMHzAfterSetting(flagged, 29)) << "the clock thread keeps running";
    EXPECT_TRUE(killMHzAfterSetting(flagged, 1));
    EXPECT_TRUE(killMHzAfterSetting(flagged, 0));

    EXPECT_FALSE(killMHzAfterSetting(false, 0));
    EXPECT_TRUE(killMHzAfterSetting(false, 29));
    EXPECT_TRUE(killMHzAfterSetting(false, -1));
}

TEST(ProcessorChanged, EitherStoredValueDiffering) {
    ProcessorInfo info;
    info.brandString = "Intel(R) Core(TM)2 Quad CPU    Q6600  @ 2.40GHz";
    info.cpuSignature = 0x6FB;
    EXPECT_FALSE(processorChanged(info.brandString, 0x6FB, info.brandString, info.cpuSignature));
    EXPECT_TRUE(processorChanged(info.brandString, 0x6FA, info.brandString, info.cpuSignature));
    EXPECT_TRUE(processorChanged("Intel(R) Core(TM)2 Quad CPU    Q6700  @ 2.66GHz", 0x6FB,
                                 info.brandString, info.cpuSignature));
    EXPECT_TRUE(processorChanged("", 0, info.brandString, info.cpuSignature))
        << "a file without the keys";
    EXPECT_FALSE(
        processorChanged("Intel(R) Xeon(R) CPU", 0x6FB, "    Intel(R) Xeon(R) CPU  ", 0x6FB))
        << "the file keeps the brand without its padding";
}

}  // namespace
}  // namespace calidus
