#include <gtest/gtest.h>

#include "common/Registers.h"
#include "measure/ClockModulation.h"
#include "measure/CoreTemperatures.h"
#include "measure/FeatureSwitches.h"
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

namespace calidus {
namespace {

struct SwitchRig {
    testing::FakeMachine machine;
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access{platform};
    ProcessorInfo processor;
    RunConfiguration config;

    explicit SwitchRig(bool coreI7) {
        processor.platformInfoClass = coreI7;
        config.processMask = 0x3;
        access.setSystemMask(0x3);
    }
};

TEST(FeatureSwitches, EachSwitchWritesItsBitAndShowsWhatIsReadBack) {
    SwitchRig i7(true);
    i7.machine.setMsr(0, msr::kMiscEnable, 0x0000004000010000);  // EIST on, turbo off
    i7.machine.setMsr(0, msr::kPowerControl, 0x2);
    i7.machine.setMsr(0, msr::kClockModulation, 0x1A);
    FeatureSwitches switches(i7.access, Edition::standard(), i7.processor, i7.config);
    const FeatureState opened = switches.open(2);
    EXPECT_TRUE(opened.eist && opened.turboDisabled && opened.c1e);
    EXPECT_FALSE(opened.eistLocked);
    EXPECT_EQ(opened.clockModulation, 0x1Au);
    EXPECT_EQ(i7.machine.getMsr(1, msr::kPowerControl), 0x2u);  // C1E as processor 0 has it

    EXPECT_FALSE(switches.setC1E(false));
    EXPECT_EQ(i7.machine.getMsr(1, msr::kPowerControl), 0u);
    EXPECT_FALSE(switches.setTurboDisabled(false));
    EXPECT_EQ(i7.machine.getMsr(0, msr::kMiscEnable), 0x10000u);
    EXPECT_FALSE(switches.setEist(false, opened).eist);
    EXPECT_FALSE(switches.writeRefused());

    // A locked EIST is left alone; without platformInfoClass turbo is only the VID box.
    SwitchRig core2(false);
    core2.machine.setMsr(0, msr::kMiscEnable, 0x00110000);
    core2.machine.setMsr(0, msr::kPlatformInfo, 0x0000002000000000);
    FeatureSwitches old(core2.access, Edition::standard(), core2.processor, core2.config);
    const FeatureState shown = old.open(2);
    EXPECT_NEAR(shown.vid, 32 * 0.0125 + 0.825, 1e-9);
    core2.machine.msrWrites.clear();
    EXPECT_TRUE(old.setEist(false, shown).eistLocked);
    EXPECT_TRUE(old.setTurboDisabled(true));
    EXPECT_TRUE(core2.machine.msrWrites.empty());
    EXPECT_TRUE(old.setC1E(true));
    EXPECT_EQ(core2.machine.getMsr(1, msr::kMiscEnable), 1u << 25);

    // XL: EIST is shown only, and the kept clock modulation stands for the register.
    FeatureSwitches xl(core2.access, Edition::xl(), core2.processor, core2.config);
    EXPECT_TRUE(xl.open(24).eistLocked);
    EXPECT_EQ(xl.open(24).clockModulation, 24u);
}

TEST(FeatureSwitches, RefusedWritesShowTheRealStateAndAreNoticedOnce) {
    SwitchRig rig(true);
    rig.machine.setMsr(0, msr::kClockModulation, 0x8);
    rig.machine.writesRefused = true;
    FeatureSwitches switches(rig.access, Edition::standard(), rig.processor, rig.config);
    EXPECT_FALSE(switches.takeRefusalNotice());
    EXPECT_FALSE(switches.setC1E(true));
    EXPECT_EQ(switches.applyClockModulation(0x18), 0x8u);
    EXPECT_FALSE(switches.setTurboDisabled(true));
    EXPECT_TRUE(switches.writeRefused());
    EXPECT_TRUE(switches.takeRefusalNotice());
    EXPECT_FALSE(switches.takeRefusalNotice());
}

}  // namespace
}  // namespace calidus
