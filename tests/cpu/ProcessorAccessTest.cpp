#include "cpu/ProcessorAccess.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace calidus {
namespace {

TEST(DriverStatusText, CodesBeyondTheTableAreEmpty) {
    EXPECT_EQ(driverStatusText(0), "No Error");
    EXPECT_EQ(driverStatusText(2), "Driver Not Loaded\nTry Run as Administrator.");
    EXPECT_EQ(driverStatusText(7), "");
    EXPECT_EQ(driverStatusText(9), "Unknown Error");
    EXPECT_EQ(driverStatusText(10), "");
    EXPECT_EQ(driverStatusText(0xFFFFFFFFu), "");
}

TEST(ProcessorAccess, PinnedAccessReachesThePinnedProcessorAndUnpinRestoresTheSystemMask) {
    testing::FakeMachine machine;
    machine.setMsr(2, 0x19C, 0x1234'0000'8832'0000);
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access(platform);
    access.setSystemMask(0xFF);

    access.pinToProcessor(0x04);
    const MsrValue value = access.readMsr(0x19C);
    access.unpin();

    EXPECT_EQ(value.low, 0x88320000u);
    EXPECT_EQ(value.high, 0x12340000u);
    EXPECT_EQ(machine.threadMaskHistory, (std::vector<std::uint32_t>{0x04, 0xFF}));
    EXPECT_EQ(machine.zeroSleeps, 1);
}

}  // namespace
}  // namespace calidus
