#include "platform/linux/LinuxScheduler.h"

#include <gtest/gtest.h>

#include <bit>

#include "platform/linux/CpuList.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

TEST(CpuList, ParsesRangesAndSinglesUpToProcessor31) {
    EXPECT_EQ(parseCpuList("0-3,6,8-9\n"), 0x34Fu);
    EXPECT_EQ(parseCpuList("0"), 0x1u);
    EXPECT_EQ(parseCpuList("30-40"), 0xC0000000u);
    EXPECT_EQ(parseCpuList("32-63"), 0u);
    for (const char* malformed : {"", "\n", "x", "3-1", "1,,2", "1-", "-1", "2 3"}) {
        EXPECT_EQ(parseCpuList(malformed), std::nullopt) << malformed;
    }
}

TEST(LinuxScheduler, SystemMaskFromTheOnlineListOrElseTheProcessMask) {
    TempFolder sys;
    AffinityMasks masks = LinuxScheduler(sys.path().string()).affinityMasks();
    EXPECT_NE(masks.process, 0u);
    EXPECT_EQ(masks.system, masks.process);

    sys.put("devices/system/cpu/online", "0-5,7\n");
    masks = LinuxScheduler(sys.path().string()).affinityMasks();
    EXPECT_EQ(masks.system, 0xBFu);

    sys.put("devices/system/cpu/online", "garbage");
    masks = LinuxScheduler(sys.path().string()).affinityMasks();
    EXPECT_EQ(masks.system, masks.process);
}

TEST(LinuxScheduler, ProcessAffinityNarrowsAndWidens) {
    LinuxScheduler scheduler;
    const std::uint32_t all = scheduler.affinityMasks().process;
    const std::uint32_t lowest = all & (~all + 1);
    EXPECT_TRUE(scheduler.setProcessAffinity(lowest));
    EXPECT_EQ(scheduler.affinityMasks().process, lowest);
    EXPECT_TRUE(scheduler.setProcessAffinity(all));
    EXPECT_EQ(scheduler.affinityMasks().process, all);
    EXPECT_FALSE(scheduler.setThreadAffinity(0));
}

}  // namespace
}  // namespace calidus
