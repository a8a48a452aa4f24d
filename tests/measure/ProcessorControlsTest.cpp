#include <gtest/gtest.h>

#include "common/Registers.h"
#include "measure/ClockModulation.h"
#include "measure/CoreTemperatures.h"
#include "measure/FixedCounters.h"
#include "support/FakePlatform.h"

namespace calidus {
namespace {

using msr::kFixedCounterControl;

TEST(ClockModulation, EveryPresentProcessorOfTheEditionGetsTheValue) {
    EXPECT_EQ(clockModulationAtStart(0), 2u);
    EXPECT_EQ(clockModulationAtStart(0xFFFFFFFF), 2u);  // -1 in the settings file
    EXPECT_EQ(clockModulationAtStart(30), 30u);

    testing::FakeMachine machine;
    for (int cpu = 0; cpu <= 8; ++cpu) {
        machine.setMsr(cpu, msr::kClockModulation, cpu == 3 ? 0 : 0x18);
    }
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access(platform);
    access.setSystemMask(0x1FD);  // processors 0, 2..8

    applyClockModulation(access, Edition::standard(), 0);
    // 0 and 2..7, but not 3, which already held the value.
    EXPECT_EQ(machine.msrWrites.size(), 6u);
    EXPECT_EQ(machine.getMsr(7, msr::kClockModulation), 0u);
    EXPECT_EQ(machine.getMsr(8, msr::kClockModulation), 0x18u);  // beyond the edition's range
    EXPECT_EQ(machine.getMsr(1, msr::kClockModulation), 0x18u);  // absent: untouched
    EXPECT_TRUE(machine.threadMaskHistory.empty());

    applyClockModulation(access, Edition::xl(), 16);
    EXPECT_EQ(machine.getMsr(8, msr::kClockModulation), 18u);  // never a zero duty field
    applyClockModulation(access, Edition::xl(), 24);
    EXPECT_EQ(machine.getMsr(0, msr::kClockModulation), 24u);
}

TEST(FixedCounters, MissingEnableBitsAreSetAndOtherFieldsKept) {
    testing::FakeMachine machine;
    machine.setMsr(0, kFixedCounterControl, 0x0000000700000003);
    machine.setMsr(1, kFixedCounterControl, 0x330);
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access(platform);
    access.setSystemMask(0x7);

    enableFixedCounters(access, 7);
    EXPECT_EQ(machine.getMsr(0, kFixedCounterControl), 0x0000000700000333u);
    EXPECT_EQ(machine.getMsr(2, kFixedCounterControl), 0x330u);
    EXPECT_EQ(machine.msrWrites.size(), 2u);  // processor 1 already counts

    machine.msrWrites.clear();
    machine.failingMsr.insert(kFixedCounterControl);
    enableFixedCounters(access, 7);
    EXPECT_TRUE(machine.msrWrites.empty());  // a register that cannot be read is not written
}

}  // namespace
}  // namespace calidus
