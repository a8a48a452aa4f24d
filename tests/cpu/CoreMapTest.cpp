#include "cpu/CoreMap.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "support/FakePlatform.h"

namespace calidus {
namespace {

using Masks = std::array<std::uint32_t, 8>;

// Logical processor p reports apicIds[p]; leaf 4 tells the cores per package.
struct Machine {
    testing::FakeMachine fake;
    Platform platform;
    ProcessorAccess access;

    Machine(std::initializer_list<std::uint32_t> apicIds, std::uint32_t logicalPerPackage,
            std::uint32_t coresPerPackage)
        : platform(testing::makeFakePlatform(fake)), access(platform) {
        std::uint32_t mask = 0;
        int p = 0;
        for (std::uint32_t apic : apicIds) {
            fake.setApicId(p, apic, logicalPerPackage);
            mask |= 1u << p;
            ++p;
        }
        fake.setCpuid(0, 4, CpuidResult{.eax = (coresPerPackage - 1) << 26});
        fake.systemMask = mask;
        fake.threadMask = mask;
        access.setSystemMask(mask);
    }
};

TEST(CoreMap, QuadCoreWithTwoThreadsPerCoreTakesTheFirstThreadOfEachCore) {
    Machine m({0, 1, 2, 3, 4, 5, 6, 7}, 16, 8);
    const CoreMap standard = buildCoreMap(m.access, Edition::standard());
    EXPECT_TRUE(standard.hyperThreading);
    EXPECT_EQ(standard.coreMask, (Masks{0x01, 0x04, 0x10, 0x40, 0, 0, 0, 0}));
    EXPECT_EQ(m.fake.threadMask, 0xFFu) << "left un-pinned";

    const CoreMap xl = buildCoreMap(m.access, Edition::xl());
    EXPECT_EQ(xl.coreMask, (Masks{0x03, 0x0C, 0x30, 0xC0, 0, 0, 0, 0}));
}

TEST(CoreMap, DualCoreWithApicIdsZeroAndTwoIsClosedUpByTheGapFix) {
    Machine m({0, 2}, 2, 2);
    CoreMap map = buildCoreMap(m.access, Edition::standard());
    EXPECT_FALSE(map.hyperThreading);
    EXPECT_EQ(map.coreMask, (Masks{0x1, 0, 0x2, 0, 0, 0, 0, 0}));

    fixCoreGap(map);
    EXPECT_EQ(map.coreMask, (Masks{0x1, 0x2, 0, 0, 0, 0, 0, 0}));

    fixCoreGap(map);
    EXPECT_EQ(map.coreMask, (Masks{0x1, 0x2, 0, 0, 0, 0, 0, 0})) << "a full map is left alone";
}

TEST(CoreMap, SecondPackageSelection) {
    Machine m({0, 1, 2, 3, 4, 5, 6, 7}, 4, 4);
    const CoreMap built = buildCoreMap(m.access, Edition::standard());
    ASSERT_FALSE(built.hyperThreading);
    ASSERT_EQ(built.coreMask, (Masks{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}));

    CoreMap second = built;
    EXPECT_EQ(selectSecondPackage(second, 2), 2);
    EXPECT_EQ(second.coreMask, (Masks{0x10, 0x20, 0x40, 0x80, 0, 0, 0, 0}));

    CoreMap mixed = built;
    EXPECT_EQ(selectSecondPackage(mixed, 3), 0);
    EXPECT_EQ(mixed.coreMask, (Masks{0x01, 0x02, 0x40, 0x80, 0, 0, 0, 0}));

    CoreMap named = built;
    EXPECT_EQ(selectSecondPackage(named, 1), 1);
    EXPECT_EQ(named.coreMask, (Masks{0x01, 0x02, 0x04, 0x08, 0, 0, 0, 0}));

    CoreMap none = built;
    EXPECT_EQ(selectSecondPackage(none, 0), 0);
    EXPECT_EQ(none.coreMask, named.coreMask);

    // Only packages that exist are chosen or named.
    for (const int skull : {-2147483647 - 1, 4, 99}) {
        CoreMap wild = built;
        EXPECT_EQ(selectSecondPackage(wild, skull), 0) << skull;
        EXPECT_EQ(wild.coreMask, named.coreMask) << skull;
    }
    CoreMap onePackage = named;
    EXPECT_EQ(selectSecondPackage(onePackage, 2), 0);
    EXPECT_EQ(onePackage.coreMask, named.coreMask);
}

TEST(CoreMap, SecondPackageWithTwoThreadsPerCoreStartsAtCoreFour) {
    Machine m({0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23}, 16, 8);
    const CoreMap map = buildCoreMap(m.access, Edition::standard());
    EXPECT_EQ(map.coreMask, (Masks{0x1, 0x4, 0x10, 0x40, 0x100, 0x400, 0x1000, 0x4000}));
}

TEST(CoreMap, XlSixCoreFillsCoreNumbersZeroToTwoAndFourToSix) {
    Machine m({0, 1, 2, 3, 4, 5, 16, 17, 18, 19, 20, 21}, 16, 8);
    const CoreMap xl = buildCoreMap(m.access, Edition::xl());
    EXPECT_TRUE(xl.hyperThreading);
    EXPECT_EQ(xl.coreMask, (Masks{0x003, 0x00C, 0x030, 0, 0x0C0, 0x300, 0xC00, 0}));

    const CoreMap standard = buildCoreMap(m.access, Edition::standard());
    EXPECT_EQ(standard.coreMask, (Masks{0x001, 0x004, 0x010, 0, 0x040, 0x100, 0x400, 0}));
}

TEST(CoreMap, ProcessorsOutsideTheSystemMaskAreNeverPinned) {
    Machine m({0, 1, 2, 3}, 4, 4);
    m.access.setSystemMask(0x5);
    const CoreMap map = buildCoreMap(m.access, Edition::standard());
    EXPECT_EQ(map.coreMask, (Masks{0x1, 0, 0x4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.fake.threadMaskHistory, (std::vector<std::uint32_t>{0x1, 0x4, 0x5}));
}

TEST(CoreMap, AProcessorTheThreadMayNotBePinnedToIsLeftOutRatherThanMisread) {
    Machine m({0, 1, 2, 3, 4, 5, 6, 7}, 16, 8);
    m.fake.cpuset = 0xFB;  // processor 2 refused
    const CoreMap xl = buildCoreMap(m.access, Edition::xl());
    EXPECT_EQ(xl.coreMask, (Masks{0x03, 0x08, 0x30, 0xC0, 0, 0, 0, 0}));
    EXPECT_EQ(apicIdText(m.access, Edition::standard()), "0134567");
}

TEST(ApicIdText, OneDigitPerProcessorAndBlanksInTheXlEdition) {
    Machine m({0, 1, 2, 3, 4, 5, 6, 7, 16, 17}, 16, 8);
    m.access.setSystemMask(0x3FF);
    EXPECT_EQ(apicIdText(m.access, Edition::standard()), "01234567");
    EXPECT_EQ(apicIdText(m.access, Edition::xl()), "0 1 2 3 4 5 6 7 ");
    EXPECT_EQ(m.fake.threadMask, 0x3FFu);

    Machine xl({0, 1, 2, 3, 4, 5, 16, 17}, 16, 8);
    EXPECT_EQ(apicIdText(xl.access, Edition::xl()), "0 1 2 3 4 5 0 1 ");
}

}  // namespace
}  // namespace calidus
