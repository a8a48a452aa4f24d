#include "measure/CoreTemperatures.h"

#include <gtest/gtest.h>

#include "common/Registers.h"
#include "measure/TemperatureUnits.h"
#include "support/FakePlatform.h"
#include "view/DisplayTexts.h"

namespace calidus {
namespace {

// Cores sit on logical processors 0, 2, 4, ...; the test sets their sensors between ticks.
struct Rig {
    explicit Rig(const Edition& e) : edition(e) {
        access.setSystemMask(0xFFFF);
        for (const int core : edition.monitoredCores) {
            config.coreMap.coreMask[core] = 1u << (2 * core);
        }
    }
    void sensor(int core, int reading, bool thermalStatus = false, bool thermalLog = false) {
        machine.setMsr(
            2 * core, msr::kThermStatus,
            0x80000000u | (reading << 16) | (thermalLog ? 2 : 0) | (thermalStatus ? 1 : 0));
    }
    // A tick as the engine runs it: the readings, then the texts made from them.
    void tick(std::time_t when = 1000) {
        ++state.tickCount;
        updateCoreTemperatures(state, config, access, settings, edition, when);
        formatTickTexts(texts, state, config, edition, *platform.clock);
    }
    const CoreSample& core(int n) const { return state.cores[n]; }
    const CoreTexts& shown(int n) const { return texts.cores[n]; }

    const Edition& edition;
    testing::FakeMachine machine;
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access{platform};
    MonitorState state;
    RunConfiguration config;
    DisplayTexts texts;
    MonitorSettings settings;
};

TEST(CoreTemperatures, CalibrationAndTheAboveLimitCorrection) {
    Rig rig(Edition::standard());
    rig.config.calibration.idle = {20, -15, 20};
    rig.sensor(0, 40);
    rig.sensor(1, 50);
    rig.sensor(2, 80, true);  // at the limit: no calibration, and above TjMax
    rig.sensor(3, 77, true);
    rig.tick();
    EXPECT_EQ(rig.core(0).temperature, 62);
    EXPECT_EQ(rig.core(1).temperature, 49);  // -15 * 50 / 400 truncates to -1
    EXPECT_EQ(rig.core(2).temperature, 148);
    EXPECT_EQ(rig.core(3).temperature, 23);

    rig.settings.oldFormula = true;
    rig.tick();
    EXPECT_EQ(rig.core(0).temperature, 60);  // 20 * 10 / 400 = 0

    Rig xl(Edition::xl());  // no old formula there
    xl.settings.oldFormula = true;
    xl.config.calibration.idle[4] = 20;
    xl.sensor(4, 40);
    xl.tick();
    EXPECT_EQ(xl.core(4).temperature, 62);
}

TEST(CoreTemperatures, FahrenheitOfBothEditions) {
    const Edition& standard = Edition::standard();
    EXPECT_EQ(toDisplayUnit(0, true, standard), 32);
    EXPECT_EQ(toDisplayUnit(37, true, standard), 99);
    EXPECT_EQ(toDisplayUnit(-1, true, standard), 30);
    EXPECT_EQ(toDisplayUnit(-10, true, standard), 14);
    EXPECT_EQ(toDisplayUnit(-1, true, Edition::xl()), 31);
    EXPECT_EQ(toDisplayUnit(-10, true, Edition::xl()), 15);
    EXPECT_EQ(toDisplayUnit(-10, false, Edition::xl()), -10);

    Rig rig(standard);
    rig.settings.fahrenheit = true;
    rig.texts.unit = degreeString(true, "");
    rig.sensor(0, 55);
    rig.tick();
    EXPECT_EQ(rig.shown(0).temperature, "113");
    EXPECT_EQ(rig.shown(0).distance, "55");  // the distance stays in Celsius degrees
    EXPECT_EQ(rig.shown(0).maximum, "113\u00B0F");
    EXPECT_EQ(degreeString(false, "C"), "C");
}

TEST(CoreTemperatures, ExtremesKeepTheTimeOfTheirFirstArrival) {
    Rig rig(Edition::standard());
    const int readings[] = {50, 51, 51, 50};  // 50, 49, 49, 50 degrees
    for (int i = 0; i < 4; ++i) {
        rig.sensor(0, readings[i]);
        rig.tick(1000 + i);
    }
    const CoreSample& core = rig.core(0);
    EXPECT_EQ(core.minTime, 1001);
    EXPECT_EQ(rig.shown(0).minimumTime, "00:16:41");
    EXPECT_EQ(rig.shown(0).minimum, "49\u00B0C");
    EXPECT_EQ(rig.shown(0).maximumTime, "00:16:40");
    EXPECT_EQ(core.maxReading, 51);
    EXPECT_EQ(core.temperatureSum, 198);
    EXPECT_EQ(averageOf(core.temperatureSum, rig.state.tickCount), 50);  // 49.5 rounds up
}

TEST(CoreTemperatures, StatusAndSummaryTextsOfBothEditions) {
    Rig standard(Edition::standard());
    standard.config.coreMap.coreMask[2] = 0;
    standard.sensor(0, 55);
    standard.sensor(1, 53, false, true);
    standard.sensor(3, 54, true, false);
    standard.tick();
    standard.tick();  // a second tick starts the texts afresh
    EXPECT_EQ(standard.shown(0).status, "OK");
    EXPECT_EQ(standard.shown(1).status, "LOG");
    EXPECT_EQ(standard.shown(3).status, "--");
    EXPECT_EQ(standard.texts.tooltip, "Core 0:  45\u00B0C\nCore 1:  47\u00B0C\nCore 3:  46\u00B0C");
    EXPECT_EQ(standard.texts.title, "45\u00B0C 47\u00B0C 46\u00B0C");
    EXPECT_EQ(standard.shown(2).temperature, "");

    Rig xl(Edition::xl());
    for (const int core : {0, 1, 2, 3, 4, 5, 6}) {
        xl.sensor(core, 50 + core, true, core == 1);
    }
    xl.tick();
    EXPECT_EQ(xl.shown(0).status, "---");
    EXPECT_EQ(xl.shown(1).status, "HOT");
    EXPECT_EQ(xl.shown(4).status, "--");
    EXPECT_EQ(xl.shown(3).status, "");  // never read
    EXPECT_EQ(xl.texts.tooltip,
              "Core\n50\u00B0C\n49\u00B0C\n48\u00B0C\n46\u00B0C\n45\u00B0C\n44\u00B0C");
    EXPECT_EQ(xl.texts.title, "50 49 48 46 45 44");
}

TEST(CoreTemperatures, ClockModulationCaptionShowsTheSmallestDuty) {
    Rig rig(Edition::standard());
    rig.machine.setMsr(2, msr::kClockModulation, 0x10 | (3 << 1));
    rig.machine.setMsr(4, msr::kClockModulation, 0x10 | (2 << 1));
    rig.machine.setMsr(6, msr::kClockModulation, 1 << 1);  // duty set, modulation off
    rig.tick();
    EXPECT_EQ(rig.state.clockModulationField, 0x14);
    EXPECT_EQ(rig.texts.statusCaption, "Clock Modulation  25.0%");

    rig.machine.setMsr(2, msr::kClockModulation, 0x10);
    rig.tick();
    EXPECT_EQ(rig.texts.statusCaption, "Clock Modulation  50.0%");

    rig.machine.setMsr(2, msr::kClockModulation, 0);
    rig.machine.setMsr(4, msr::kClockModulation, 0);
    rig.tick();
    EXPECT_EQ(rig.texts.statusCaption, "Thermal Status");
}

TEST(CoreTemperatures, AlarmReadsOnEachCoresProcessorAndAnUnreadableSensor) {
    Rig rig(Edition::standard());
    rig.settings = {.alarm = true, .alarm1 = 60};
    rig.sensor(0, 40);
    rig.config.coreMap.coreMask[3] = 0xC0;  // a core of two threads is read on the first
    rig.tick();
    EXPECT_TRUE(rig.state.alarmThisTick);
    const std::uint32_t therm = msr::kThermStatus;
    const std::uint32_t modulation = msr::kClockModulation;
    EXPECT_EQ(rig.machine.msrReads, (std::vector<std::pair<int, std::uint32_t>>{{0, therm},
                                                                                {0, modulation},
                                                                                {2, therm},
                                                                                {2, modulation},
                                                                                {4, therm},
                                                                                {4, modulation},
                                                                                {6, therm},
                                                                                {6, modulation}}));
    EXPECT_TRUE(rig.machine.threadMaskHistory.empty());  // the thread never moves

    rig.machine.failingMsr.insert(msr::kThermStatus);
    rig.tick();
    EXPECT_EQ(rig.core(0).maxTemperature, 60);  // the last reading, not TjMax from an empty read
    EXPECT_EQ(rig.core(0).temperatureSum, 120);

    Rig fresh(Edition::standard());
    fresh.machine.failingMsr.insert(msr::kThermStatus);
    fresh.machine.setMsr(0, msr::kClockModulation, 0x18);
    fresh.tick();
    EXPECT_EQ(fresh.core(0).maxTemperature, kMaxTemperatureStart);
    // Its clock-modulation register is a register of its own and still counts.
    EXPECT_EQ(fresh.texts.statusCaption, "Clock Modulation  50.0%");
}

TEST(CoreTemperatures, GpuSampleAndReset) {
    Rig rig(Edition::standard());
    rig.settings = {.fahrenheit = true, .alarm = true, .alarm2 = 150};
    rig.texts.unit = "\u00B0F";
    updateGpuSample(rig.state, 60, rig.settings, rig.edition, 10);
    updateGpuSample(rig.state, 60, rig.settings, rig.edition, 11);
    updateGpuSample(rig.state, 66, rig.settings, rig.edition, 12);
    EXPECT_EQ(rig.state.gpu.minTime, 10);  // strict comparisons
    EXPECT_EQ(rig.state.gpu.maxTemperature, 151);
    rig.tick();
    EXPECT_EQ(rig.texts.gpuButton, "GPU  151\u00B0F");
    EXPECT_TRUE(rig.state.alarmThisTick);

    rig.machine.setMsr(0, msr::kClockModulation, 0x18);
    rig.sensor(0, 50, false, true);
    rig.tick();
    resetStatistics(rig.state, 5000);
    formatTickTexts(rig.texts, rig.state, rig.config, rig.edition, *rig.platform.clock);
    const CoreSample& core = rig.core(0);
    EXPECT_EQ(rig.state.tickCount, 0u);
    EXPECT_EQ(rig.state.statsStart, 5000);
    EXPECT_EQ(core.minReading, kMinReadingStart);
    EXPECT_EQ(core.readingSum, 0);
    EXPECT_EQ(rig.shown(0).minimum, "");
    EXPECT_EQ(rig.shown(0).maximumTime, "");
    EXPECT_EQ(rig.state.gpu.temperatureSum, 0);
    EXPECT_EQ(rig.state.gpu.maxTemperature, kMaxTemperatureStart);
    EXPECT_EQ(rig.shown(0).temperature, "122");  // current values stay
    EXPECT_EQ(rig.shown(0).status, "LOG");
    EXPECT_EQ(rig.texts.statusCaption, "Clock Modulation  50.0%");
}

}  // namespace
}  // namespace calidus
