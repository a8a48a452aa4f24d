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

TEST(ProcessorAccess, UpdateWritesOnlyAfterAGoodReadAndOnlyAChange) {
    testing::FakeMachine machine;
    machine.setMsr(2, 0x1A0, 0x0000'0040'0085'0089);
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access(platform);
    const auto clearBit22 = [](MsrValue value) {
        value.low &= ~(1u << 22);
        return value;
    };
    const auto setBit22 = [](MsrValue value) {
        value.low |= 1u << 22;
        return value;
    };

    EXPECT_EQ(access.updateMsr(2, 0x1A0, clearBit22), MsrUpdate::Unchanged);
    EXPECT_TRUE(machine.msrWrites.empty());
    EXPECT_EQ(access.updateMsr(2, 0x1A0, setBit22), MsrUpdate::Written);
    EXPECT_EQ(machine.getMsr(2, 0x1A0), 0x0000'0040'00C5'0089u);  // other fields kept
    EXPECT_EQ(machine.msrWrites, (std::vector<std::pair<int, std::uint32_t>>{{2, 0x1A0}}));
    EXPECT_EQ(machine.getMsr(0, 0x1A0), 0u);  // only the processor named

    machine.failingMsr.insert(0x1A0);
    machine.msrWrites.clear();
    EXPECT_EQ(access.updateMsr(2, 0x1A0, clearBit22), MsrUpdate::ReadFailed);
    EXPECT_TRUE(machine.msrWrites.empty());
    EXPECT_TRUE(machine.threadMaskHistory.empty());
}

TEST(ProcessorAccess, ARefusedPinIsReportedAndLeavesTheThreadWhereItWas) {
    testing::FakeMachine machine;
    machine.threadMask = 0x01;
    machine.cpuset = 0x0F;
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access(platform);

    EXPECT_TRUE(access.pinToProcessor(0x04));
    EXPECT_EQ(machine.currentCpu(), 2);
    EXPECT_FALSE(access.pinToProcessor(0x10));
    EXPECT_EQ(machine.currentCpu(), 2);
}

}  // namespace
}  // namespace calidus
