#include <gtest/gtest.h>

#include "measure/ClockModulation.h"
#include "measure/CoreTemperatures.h"
#include "measure/FixedCounters.h"
#include "support/FakePlatform.h"

namespace calidus {
namespace {

constexpr std::uint32_t kFixedCounterControl = 0x38D;

TEST(ClockModulation, EveryPresentProcessorOfTheEditionGetsTheValue) {
    EXPECT_EQ(clockModulationAtStart(0), 2u);
    EXPECT_EQ(clockModulationAtStart(0xFFFFFFFF), 2u);  // -1 in the settings file
    EXPECT_EQ(clockModulationAtStart(30), 30u);

    testing::FakeMachine machine;
    machine.setMsr(1, kClockModulationMsr, 0x18);
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access(platform);
    access.setSystemMask(0x1FD);  // processors 0, 2..8

    applyClockModulation(access, Edition::standard(), 0);
    EXPECT_EQ(machine.msrWrites.size(), 7u);  // 0, 2..7
    EXPECT_EQ(machine.getMsr(8, kClockModulationMsr), 0u);
    EXPECT_EQ(machine.getMsr(1, kClockModulationMsr), 0x18u);  // absent: untouched
    EXPECT_EQ(machine.threadMask, 0x1FDu);

    applyClockModulation(access, Edition::xl(), 16);
    EXPECT_EQ(machine.getMsr(8, kClockModulationMsr), 18u);  // never a zero duty field
    applyClockModulation(access, Edition::xl(), 24);
    EXPECT_EQ(machine.getMsr(0, kClockModulationMsr), 24u);
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
