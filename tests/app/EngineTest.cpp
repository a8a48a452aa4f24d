#include "app/Engine.h"

#include <gtest/gtest.h>

#include "app/EngineRig.h"

namespace calidus {
namespace {

using testing::EngineRig;
using testing::kClockModulation;

TEST(EngineStart, AnUnusableDriverShowsItsStatusTextAndChangesNothing) {
    struct Case {
        std::uint32_t status;
        bool msrAvailable;
        std::string text;
    };
    for (const Case& c : {Case{2, true, "Driver Not Loaded\nTry Run as Administrator."},
                          Case{0, false, "No Error"}, Case{7, true, ""}}) {
        EngineRig rig;
        rig.machine.driverStatus = c.status;
        rig.machine.msrAvailable = c.msrAvailable;
        const StartResult result = rig.engine->start();
        EXPECT_EQ(result.outcome, StartOutcome::DriverError);
        EXPECT_EQ(result.text, c.text);
        EXPECT_EQ(rig.desktop.calls, std::vector<std::string>{"message Driver Error: " + c.text});

        rig.engine->runTick();
        rig.engine->shutdown();
        EXPECT_TRUE(rig.machine.msrWrites.empty());
        EXPECT_FALSE(rig.machine.stopped);  // a fatal start-up error leaves the driver alone
        EXPECT_EQ(rig.desktop.calls.size(), 1u);
    }
}

TEST(EngineStart, WidensTheProcessAppliesClockModulationAndWritesTheHeading) {
    EngineSettings settings;
    settings.clockMod = 31;
    settings.monitor.fahrenheit = true;
    settings.skull = 1;
    EngineRig rig(Edition::standard(), settings);
    rig.machine.processMask = 0x0F;

    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(rig.machine.processMaskHistory, std::vector<std::uint32_t>{0xFF});
    for (int cpu = 0; cpu < 8; ++cpu) {
        EXPECT_EQ(rig.machine.getMsr(cpu, kClockModulation), 2u) << cpu;
    }
    EXPECT_EQ(rig.engine->texts().heading, "Temperature (\u00B0F) - CPU 1");
    EXPECT_EQ(rig.engine->state().coreMap.coreMask[3], 0x40u);
    EXPECT_EQ(rig.engine->state().calibration.tjMax[2], 100);

    settings.degreeSymbolString = "C";
    EngineRig xl(Edition::xl(), settings);
    ASSERT_EQ(xl.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(xl.engine->state().coreMap.coreMask[4], 0xC0u);
    EXPECT_EQ(xl.engine->texts().heading, "Temperature (C)");
}

TEST(EngineTick, TheFirstTickSetsUpTheDesktopAndEveryTickRefreshesIt) {
    EngineSettings settings;
    settings.iconShow = 0x3;
    settings.miniMode = true;
    settings.startMinimized = true;
    EngineRig rig(Edition::standard(), settings);
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    rig.desktop.trayTakes = 0;

    rig.engine->runTick();
    rig.engine->runTick();
    EXPECT_EQ(rig.desktop.calls,
              (std::vector<std::string>{"place", "mini", "add icons 3", "minimize", "tray",
                                        "window", "tray", "window"}));
    EXPECT_EQ(rig.engine->settings().iconShow, 0u);
    EXPECT_TRUE(rig.engine->settings().taskBar);  // no icon left
    EXPECT_EQ(rig.engine->state().tickCount, 2u);
    EXPECT_EQ(rig.engine->state().cores[3].minTimeText, "22:13:20");
    for (int cpu = 0; cpu < 8; ++cpu) {
        EXPECT_EQ(rig.machine.getMsr(cpu, 0x38D), 0x330u) << cpu;
    }

    settings.iconShow = 0x101;
    EngineRig xl(Edition::xl(), settings);
    ASSERT_EQ(xl.engine->start().outcome, StartOutcome::Ready);
    xl.engine->runTick();
    EXPECT_EQ(xl.engine->settings().iconShow, 0x1u);  // no GPU source, no GPU icon
    EXPECT_EQ(xl.machine.getMsr(11, 0x38D), 0x330u);
}

TEST(EngineTick, KillMHzStopsTheClockThreadOnTheFourthTickOfTheStandardEdition) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineRig rig(*edition);
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        ThreadControl& threads = rig.engine->threadControl();
        threads.clockThreadFlag = ThreadControl::kRunning;
        threads.killMHz = 1;
        for (int tick = 1; tick <= 3; ++tick) {
            rig.engine->runTick();
        }
        EXPECT_EQ(threads.clockThreadFlag, ThreadControl::kRunning);
        rig.engine->runTick();
        EXPECT_EQ(threads.clockThreadFlag,
                  edition->isXL() ? ThreadControl::kRunning : ThreadControl::kStopRequested);
        threads.clockThreadFlag = ThreadControl::kStopped;
    }
}

TEST(EngineTick, TickPeriodFollowsTheRefreshIntervalOnlyInTheStandardEdition) {
    EngineSettings settings;
    settings.refreshInterval = 250;
    EXPECT_EQ(EngineRig(Edition::standard(), settings).engine->tickPeriod().count(), 250);
    EXPECT_EQ(EngineRig(Edition::xl(), settings).engine->tickPeriod().count(), 1000);
}

TEST(EngineReset, ResetIsRefusedWhileTheBenchmarkRuns) {
    EngineRig rig;
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    rig.engine->runTick();
    rig.engine->setBenchmarkRunning(true);
    EXPECT_FALSE(rig.engine->resetStatistics());
    EXPECT_TRUE(rig.engine->benchmarkStopRequested());
    EXPECT_EQ(rig.engine->state().tickCount, 1u);

    rig.engine->setBenchmarkRunning(false);
    rig.machine.now += 60;
    EXPECT_TRUE(rig.engine->resetStatistics());
    EXPECT_EQ(rig.engine->state().tickCount, 0u);
    EXPECT_EQ(rig.engine->state().statsStart, rig.machine.now);
    EXPECT_EQ(rig.desktop.calls.back(), "window");
}

TEST(EngineShutdown, SavesProcessorZerosModulationThenSwitchesItOffEverywhere) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineSettings settings;
        settings.clockMod = 24;
        EngineRig rig(*edition, settings);
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        rig.engine->runTick();
        rig.machine.setMsr(0, kClockModulation, 0x1A);  // another tool changed processor 0

        rig.engine.reset();  // the destructor shuts down
        const std::uint64_t off = edition->isXL() ? 2 : 0;
        for (int cpu = 0; cpu < (edition->isXL() ? 12 : 8); ++cpu) {
            EXPECT_EQ(rig.machine.getMsr(cpu, kClockModulation), off) << cpu;
        }
        EXPECT_TRUE(rig.machine.stopped);
        EXPECT_EQ(rig.desktop.calls.back(), "remove icons 1");
    }
}

TEST(EngineShutdown, ALoadThreadThatNeverEndsCostsTheWholeBudgetAndNoMore) {
    EngineRig rig;
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    rig.machine.setMsr(0, kClockModulation, 0x18);
    rig.engine->threadControl().loadThreadFlag = ThreadControl::kRunning;
    const std::int64_t before = rig.machine.sleptMs;
    rig.engine->shutdown();
    EXPECT_EQ(rig.machine.sleptMs - before, 4900);
    EXPECT_EQ(rig.engine->clockModAtExit(), 0x18u);
    EXPECT_EQ(rig.machine.getMsr(3, kClockModulation), 0u);
    EXPECT_TRUE(rig.desktop.calls.empty());  // no icons before the first tick

    rig.machine.stopped = false;
    rig.engine->shutdown();
    EXPECT_FALSE(rig.machine.stopped);  // only once
}

}  // namespace
}  // namespace calidus
