#include "msrhelper/MsrGate.h"

#include <gtest/gtest.h>

#include "msrhelper/MsrAllowList.h"
#include "support/MemoryMsrDevices.h"

namespace calidus {
namespace {

using testing::MemoryMsrDevices;

constexpr std::uint64_t bit(int n) {
    return std::uint64_t{1} << n;
}

TEST(MsrAllowList, ReadsOnlyTheProgramsRegistersAndWritesOnlyTheirSwitches) {
    for (const std::uint32_t index : {0x10u, 0x17u, 0x2Au, 0xCEu, 0x194u, 0x198u, 0x19Au, 0x19Cu,
                                      0x1A0u, 0x1A2u, 0x1ADu, 0x1FCu, 0x30Au, 0x30Bu, 0x38Du}) {
        EXPECT_EQ(checkRead(index), MsrStatus::Ok) << std::hex << index;
    }
    for (const std::uint32_t index : {0x0u, 0x1Bu, 0x199u, 0x1D9u, 0x309u, 0x38Fu, 0x4000019Au}) {
        EXPECT_EQ(checkRead(index), MsrStatus::ReadNotAllowed) << std::hex << index;
    }

    struct Case {
        std::uint32_t index;
        std::uint64_t current;
        std::uint64_t requested;
        MsrStatus expected;
    };
    const Case cases[] = {
        {0x19A, 0x0, 0x18, MsrStatus::Ok},
        {0x19A, 0x1E, 0x1, MsrStatus::Ok},
        {0x19A, 0x2, 0x2, MsrStatus::Unchanged},
        {0x19A, 0x0, 0x38, MsrStatus::OutsideField},
        {0x19A, 0x0, bit(32) | 0x10, MsrStatus::OutsideField},
        {0x19A, 0x40, 0x18, MsrStatus::ProtectedBits},  // a reserved bit set by the firmware
        {0x1A0, 0x850089, 0x850089 | bit(38), MsrStatus::Ok},
        {0x1A0, 0x850089 | bit(16) | bit(22) | bit(25), 0x850089, MsrStatus::Ok},
        {0x1A0, 0x850089, 0x850089 | bit(20), MsrStatus::ProtectedBits},  // the EIST lock
        {0x1A0, 0x850089, 0x850088, MsrStatus::ProtectedBits},
        {0x1A0, 0x850089, 0x850089 | bit(39), MsrStatus::ProtectedBits},
        {0x1FC, 0x2000005D, 0x2000007D, MsrStatus::ProtectedBits},
        {0x1FC, 0x2000005D, 0x2000005F, MsrStatus::Ok},
        {0x1FC, 0x2000005F, 0x2000005D, MsrStatus::Ok},
        {0x1FC, 0x2000005D, 0x2000005D, MsrStatus::Unchanged},
        {0x38D, 0x0, 0x330, MsrStatus::Ok},
        {0x38D, 0x3, 0x333, MsrStatus::Ok},
        {0x38D, 0x330, 0x300, MsrStatus::ClearsBits},
        {0x38D, 0x0, 0x333, MsrStatus::ProtectedBits},
        {0x19C, 0x88370000, 0x88370000, MsrStatus::WriteNotAllowed},
        {0x10, 0x0, 0x1, MsrStatus::WriteNotAllowed},
        {0x1A2, 0x640000, 0x5A0000, MsrStatus::WriteNotAllowed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkWrite(c.index, c.current, c.requested), c.expected)
            << std::hex << c.index << " " << c.current << " -> " << c.requested;
    }
}

TEST(MsrGate, WritesOnlyChangesItMayMakeAndPutsBackTheClockModulationItChanged) {
    MemoryMsrDevices devices(4);
    MsrGate gate(devices);
    devices.at(1, 0x19A) = 0x2;
    devices.at(2, 0x19A) = 0x40;

    EXPECT_EQ(gate.write(0, 0x19A, 0x0), MsrStatus::Unchanged);
    EXPECT_EQ(gate.write(1, 0x19A, 0x18), MsrStatus::Ok);
    EXPECT_EQ(gate.write(1, 0x19A, 0x1A), MsrStatus::Ok);
    EXPECT_EQ(gate.write(2, 0x19A, 0x18), MsrStatus::ProtectedBits);
    EXPECT_EQ(gate.write(3, 0x1A2, 0x5A0000), MsrStatus::WriteNotAllowed);
    EXPECT_EQ(gate.write(4, 0x19A, 0x18), MsrStatus::NoSuchProcessor);
    EXPECT_EQ(devices.writes, 2);
    EXPECT_EQ(devices.at(2, 0x19A), 0x40u);
    EXPECT_EQ(devices.at(3, 0x1A2), 0u);

    std::uint64_t value = 7;
    EXPECT_EQ(gate.read(1, 0x19A, value), MsrStatus::Ok);
    EXPECT_EQ(value, 0x1Au);
    value = 7;
    EXPECT_EQ(gate.read(1, 0x1D9, value), MsrStatus::ReadNotAllowed);
    EXPECT_EQ(gate.read(9, 0x19C, value), MsrStatus::NoSuchProcessor);
    devices.failing = {0x1A0};
    EXPECT_EQ(gate.read(0, 0x1A0, value), MsrStatus::AccessFailed);
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(gate.write(0, 0x1A0, bit(38)), MsrStatus::CurrentUnreadable);
    devices.failing.clear();

    // Processor 1 held 2 before the first change; processor 0 was never changed.
    gate.restoreClockModulation();
    EXPECT_EQ(devices.at(1, 0x19A), 0x2u);
    EXPECT_EQ(devices.writes, 3);
    gate.restoreClockModulation();
    EXPECT_EQ(devices.writes, 3);

    devices.writesLocked = true;
    EXPECT_EQ(gate.write(0, 0x38D, 0x330), MsrStatus::WritesLocked);
    EXPECT_EQ(devices.at(0, 0x38D), 0u);
}

}  // namespace
}  // namespace calidus
