#include "app/Engine.h"

#include <gtest/gtest.h>

#include "app/EngineRig.h"
#include "config/SettingsWriter.h"
#include "platform/sim/SimAdlLibrary.h"
#include "platform/sim/SimNvidiaLibrary.h"
#include "platform/sim/SimScheduler.h"

namespace calidus {
namespace {

using testing::EngineRig;
using testing::FakeMachine;
using testing::kClockModulation;
using testing::kTemperatureTarget;

// A machine without hyper-threading whose processors have these initial APIC ids.
void setCores(FakeMachine& machine, const std::vector<std::uint32_t>& apicIds) {
    machine.processMask = machine.systemMask = machine.threadMask = (1u << apicIds.size()) - 1;
    for (std::size_t cpu = 0; cpu < apicIds.size(); ++cpu) {
        machine.setApicId(static_cast<int>(cpu), apicIds[cpu], 4);
    }
    machine.setCpuid(0, 4, {.eax = 3u << 26});
}

// The status text, then a line that says what failed and what to do.
TEST(EngineStart, AnUnusableDriverShowsItsStatusTextAndChangesNothing) {
    struct Case {
        std::uint32_t status;
        bool msrAvailable;
        std::string text;
    };
    for (const Case& c :
         {Case{2, true,
               "Driver Not Loaded\nTry Run as Administrator.\nThe msr devices refused access to "
               "this user: run as root (sudo Calidus)"},
          Case{0, false,
               "No Error\nThe msr devices opened, but a register could not be read: run as root "
               "(sudo Calidus), or load the msr module: sudo modprobe msr (a locked-down kernel "
               "refuses register access)"},
          Case{3, true,
               "Driver Not Found\nNo msr device (/dev/cpu/0/msr): run as root (sudo Calidus), or "
               "load the msr module: sudo modprobe msr"},
          Case{7, true, ""}}) {
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
        EXPECT_FALSE(rig.settings.exists());
        EXPECT_EQ(rig.desktop.calls.size(), 1u);
    }
}

// Every core of this machine sits in a package the standard edition does not monitor.
TEST(EngineStart, AMachineWithoutAMonitoredCoreIsRefusedBeforeAnythingIsWritten) {
    EngineRig rig;
    for (int cpu = 0; cpu < 8; ++cpu) {
        rig.machine.setApicId(cpu, 0x10 + static_cast<std::uint32_t>(cpu), 16);
    }
    EXPECT_EQ(rig.engine->start().outcome, StartOutcome::Refused);
    EXPECT_EQ(rig.desktop.calls.back(),
              "message Error: No core of this processor can be monitored.");
    for (const auto& [cpu, index] : rig.machine.msrWrites) {
        EXPECT_NE(index, kClockModulation) << cpu;
    }
}

TEST(EngineStart, AnUnsupportedProcessorIsRefusedAndNothingIsSavedOrRestored) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineRig amd(*edition, "IconShow=3\n");
        testing::setProcessor(amd.machine, "AMD Phenom(tm) 9600 Quad-Core Processor", 0x100F22);
        amd.machine.setCpuid(0, 0, CpuidResult{5, 0x68747541, 0x444D4163, 0x69746E65});
        amd.machine.failingMsr = {0x1A0};  // not on this vendor's processors
        // The same refusal for an Intel processor without a thermal sensor; the standard edition
        // has already let CPUID report every leaf.
        EngineRig netBurst(*edition, "IconShow=3\n");
        testing::setProcessor(netBurst.machine, "Intel(R) Pentium(R) 4 CPU 3.00GHz", 0xF43);
        netBurst.machine.setCpuid(0, 0, CpuidResult{5, 0x756E6547, 0x6C65746E, 0x49656E69});
        netBurst.machine.setMsr(0, 0x1A0, 1u << 22);

        for (EngineRig* rig : {&amd, &netBurst}) {
            const StartResult result = rig->engine->start();
            EXPECT_EQ(result.outcome, StartOutcome::Refused);
            rig->engine->runTick();
            rig->engine->shutdown();
            EXPECT_FALSE(rig->engine->monitoring());
            EXPECT_TRUE(rig->machine.stopped);
            EXPECT_EQ(rig->settings.read(), "[Calidus]\nIconShow=3\n");
        }
        EXPECT_EQ(amd.desktop.calls,
                  (std::vector<std::string>{"message Error: The processor detected is not "
                                            "supported.\n\n\nAMD Phenom(tm) 9600 Quad-Core "
                                            "Processor\n\n",
                                            "problem " + std::string(edition->programName) +
                                                ": the processor's CPUID vendor is "
                                                "\"AuthenticAMD\"; only Intel processors "
                                                "(GenuineIntel) can be monitored"}));
        EXPECT_TRUE(amd.machine.msrWrites.empty());
        EXPECT_EQ(netBurst.desktop.calls,
                  std::vector<std::string>{"message Error: The processor detected is not "
                                           "supported.\n\nGenuineIntel\nIntel(R) Pentium(R) 4 "
                                           "CPU 3.00GHz\n\n"});
        EXPECT_EQ(netBurst.machine.msrWrites.size(), edition->isXL() ? 0u : 1u);
    }
}

TEST(EngineStart, TablesTheProcessorAndTheSettingsFileChooseEachCoresTjMax) {
    const auto savedOn = [](std::string_view cpuid) {
        return "Spec=" + std::string(testing::kI7_920Brand) + "\nCPUID=" + std::string(cpuid) +
               "\nTjMax1=95\nTjMax2=69\nIdle3=1.25\n";
    };
    EngineRig rig(Edition::standard(), savedOn("0x106A5"));
    rig.machine.setMsr(0, kTemperatureTarget, 0x005A0000);  // core 0 reports 90
    rig.machine.setMsr(6, kTemperatureTarget, 0x00450000);  // core 3 reports 69: implausible
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    const CoreCalibration& cores = rig.engine->configuration().calibration;
    EXPECT_EQ(std::vector<int>(cores.tjMax.begin(), cores.tjMax.begin() + 4),
              (std::vector<int>{90, 95, 100, 100}));
    EXPECT_EQ(cores.defaultTjMax[1], 100);
    EXPECT_EQ(cores.idle[3], 13);
    EXPECT_EQ(rig.engine->texts().model, "Core i7-920");
    EXPECT_EQ(rig.engine->texts().signature, "106A5");
    EXPECT_EQ(rig.engine->processor().cpuSignature, 0x106A5u);

    // Saved on another processor: the per-core keys wait for the Settings window's OK.
    EngineRig moved(Edition::standard(), savedOn("0x106A4"));
    ASSERT_EQ(moved.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(moved.engine->configuration().calibration.tjMax[1], 100);
    EXPECT_EQ(moved.engine->configuration().calibration.idle[3], 0);

    EngineRig xl(Edition::xl());
    xl.machine.setMsr(6, kTemperatureTarget, 0x00550000);  // core 16 is monitored as core 4
    ASSERT_EQ(xl.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(xl.engine->texts().model, "Intel Core i7-980X");
    EXPECT_EQ(xl.engine->configuration().calibration.tjMax[4], 85);
    EXPECT_EQ(xl.engine->texts().shortSignature, "206C2");
}

TEST(EngineStart, TheCoresAreRemappedBeforeTjMaxIsReadFromThem) {
    // Two packages of four cores; "Skull" 2 monitors the second.
    EngineRig twoPackages(Edition::standard(), "Skull=2\n");
    setCores(twoPackages.machine, {0, 1, 2, 3, 4, 5, 6, 7});
    for (int cpu = 0; cpu < 8; ++cpu) {
        twoPackages.machine.setMsr(cpu, kTemperatureTarget, cpu < 4 ? 0x00640000 : 0x005A0000);
    }
    ASSERT_EQ(twoPackages.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(twoPackages.engine->configuration().coreMap.coreMask[0], 0x10u);
    EXPECT_EQ(twoPackages.engine->configuration().calibration.tjMax[3], 90);
    EXPECT_EQ(twoPackages.engine->texts().heading, "Temperature (\u00B0C) - CPU 2");

    // Two cores at APIC ids 0 and 2 are monitored as cores 0 and 1.
    EngineRig gap(Edition::standard());
    setCores(gap.machine, {0, 2});
    gap.machine.setMsr(1, kTemperatureTarget, 0x005A0000);
    ASSERT_EQ(gap.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(gap.engine->configuration().coreMap.coreMask[1], 0x2u);
    EXPECT_EQ(gap.engine->configuration().calibration.tjMax[1], 90);
}

TEST(EngineStart, KillMHzFollowsTheModelTablesUnlessTheSettingSaysOtherwise) {
    struct Case {
        const Edition* edition;
        std::string_view brand;
        std::string keys;
        int killMHz;
    };
    constexpr std::string_view kT9300 = "Intel(R) Core(TM)2 Duo CPU     T9300  @ 2.50GHz";
    constexpr std::string_view kE8400 = "Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz";
    for (const Case& c : {Case{&Edition::standard(), kT9300, "", 1},
                          Case{&Edition::standard(), kT9300, "KillMHz=29\n", 0},
                          Case{&Edition::standard(), kE8400, "KillMHz=1\n", 1},
                          Case{&Edition::xl(), kT9300, "KillMHz=1\n", 0}}) {
        EngineRig rig(*c.edition, c.keys);
        testing::setProcessor(rig.machine, c.brand, 0x10676);
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        EXPECT_EQ(rig.engine->threadControl().killMHz, c.killMHz) << c.brand << " " << c.keys;
    }
}

TEST(EngineStart, WidensTheProcessAppliesClockModulationAndWritesTheHeading) {
    const std::string keys = "ClockMod=31\nFahrenheit=1\nSkull=1\n";
    EngineRig rig(Edition::standard(), keys);
    rig.machine.processMask = 0x0F;
    for (int cpu = 0; cpu < 8; ++cpu) {
        rig.machine.setMsr(cpu, kClockModulation, 0x18);  // modulating: 2 switches it off
    }

    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(rig.machine.processMaskHistory, std::vector<std::uint32_t>{0xFF});
    for (int cpu = 0; cpu < 8; ++cpu) {
        EXPECT_EQ(rig.machine.getMsr(cpu, kClockModulation), 2u) << cpu;
    }
    EXPECT_EQ(rig.engine->texts().heading, "Temperature (\u00B0F) - CPU 1");
    EXPECT_EQ(rig.engine->configuration().coreMap.coreMask[3], 0x40u);
    EXPECT_EQ(rig.engine->configuration().calibration.tjMax[2], 100);

    EngineRig xl(Edition::xl(), keys + "DegreeSymbolString=C\n");
    ASSERT_EQ(xl.engine->start().outcome, StartOutcome::Ready);
    EXPECT_EQ(xl.engine->configuration().coreMap.coreMask[4], 0xC0u);
    EXPECT_EQ(xl.engine->texts().heading, "Temperature (C)");
}

TEST(EngineTick, TheFirstTickSetsUpTheDesktopAndEveryTickRefreshesIt) {
    EngineRig rig(Edition::standard(), "IconShow=3\nMiniMode=1\nStartMinimized=1\n");
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    rig.desktop.trayTakes = 0;

    rig.engine->runTick();
    rig.engine->runTick();
    EXPECT_EQ(rig.desktop.calls,
              (std::vector<std::string>{"place", "mini", "add icons 3", "minimize", "tray",
                                        "window", "tray", "window"}));
    EXPECT_EQ(rig.engine->settings()->iconShow, IconShow(0));
    EXPECT_TRUE(rig.engine->settings()->taskBar);  // no icon left
    EXPECT_EQ(rig.engine->state().tickCount, 2u);
    EXPECT_EQ(rig.engine->texts().cores[3].minimumTime, "22:13:20");
    for (int cpu = 0; cpu < 8; ++cpu) {
        EXPECT_EQ(rig.machine.getMsr(cpu, 0x38D), 0x330u) << cpu;
    }

    EngineRig xl(Edition::xl(), "IconShow=257\n");
    ASSERT_EQ(xl.engine->start().outcome, StartOutcome::Ready);
    xl.engine->runTick();
    EXPECT_EQ(xl.engine->settings()->iconShow, IconShow(0x1));  // no GPU source, no GPU icon
    EXPECT_EQ(xl.machine.getMsr(11, 0x38D), 0x330u);

    // Bit 8 is no icon of the standard edition: the window still needs its task-bar button.
    EngineRig unused(Edition::standard(), "IconShow=256\nTaskBar=0\n");
    ASSERT_EQ(unused.engine->start().outcome, StartOutcome::Ready);
    unused.engine->runTick();
    EXPECT_TRUE(unused.engine->settings()->taskBar);
}

TEST(EngineTick, ATickOnTheSimulatedI7_920NeverMovesTheMonitoringThread) {
    FakeMachine host;
    Platform platform = testing::simulatedPlatform(host, "i7-920");
    testing::RecordingDesktop desktop;
    Engine engine(Edition::standard(), platform, desktop, desktop);
    ASSERT_EQ(engine.start().outcome, StartOutcome::Ready);
    const auto& scheduler = static_cast<const SimScheduler&>(*platform.scheduler);
    const int afterStart = scheduler.migrations();
    EXPECT_GT(afterStart, 0);  // the core map reads each processor's APIC id where it runs

    engine.runTick();
    engine.runTick();
    EXPECT_EQ(scheduler.migrations(), afterStart);
    EXPECT_TRUE(engine.state().cores[3].sensorRead);
}

TEST(EngineTick, KillMHzStopsTheClockThreadOnTheFourthTickOfTheStandardEdition) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineRig rig(*edition);
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        rig.machine.awaitSleepingWorkers(1);
        ThreadControl& threads = rig.engine->threadControl();
        threads.killMHz = 1;
        for (int tick = 1; tick <= 3; ++tick) {
            rig.engine->runTick();
        }
        EXPECT_EQ(threads.clockThreadFlag, ThreadControl::kRunning);
        rig.engine->runTick();
        EXPECT_EQ(threads.clockThreadFlag,
                  edition->isXL() ? ThreadControl::kRunning : ThreadControl::kStopRequested);
        // One pass of the thread later it has ended by itself.
        rig.platform.scheduler->sleep(std::chrono::milliseconds(400));
        EXPECT_EQ(threads.clockThreadFlag,
                  edition->isXL() ? ThreadControl::kRunning : ThreadControl::kStopped);
    }
}

TEST(EngineTick, TickPeriodFollowsTheRefreshIntervalOnlyInTheStandardEdition) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineRig rig(*edition, "RefreshInterval=250\n");
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        EXPECT_EQ(rig.engine->tickPeriod().count(), edition->isXL() ? 1000 : 250);

        // The Settings window changes the key live; the timer keeps its period for the run.
        rig.engine->settings().set(KeyId::RefreshInterval, 500);
        rig.engine->runTick();
        EXPECT_EQ(rig.engine->tickPeriod().count(), edition->isXL() ? 1000 : 250);
    }
}

TEST(EngineReset, ResetIsRefusedWhileTheBenchmarkRuns) {
    EngineRig rig;
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    rig.engine->runTick();
    rig.engine->benchmark().setRunning(true);
    EXPECT_FALSE(rig.engine->resetStatistics());
    EXPECT_TRUE(rig.engine->benchmark().stopRequested());
    EXPECT_EQ(rig.engine->state().tickCount, 1u);

    rig.engine->benchmark().setRunning(false);
    rig.machine.now += 60;
    EXPECT_TRUE(rig.engine->resetStatistics());
    EXPECT_EQ(rig.engine->state().tickCount, 0u);
    EXPECT_EQ(rig.engine->state().statsStart, rig.machine.now);
    EXPECT_EQ(rig.desktop.calls.back(), "window");
}

TEST(EngineReset, ResetKeepsTheHistoryAndAUnitChangeShowsAllOfItInTheNewUnit) {
    EngineRig rig;
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    rig.engine->runTick();
    rig.engine->runTick();
    rig.engine->settings().set(KeyId::Fahrenheit, true);  // the Settings window, live
    rig.engine->runTick();
    EXPECT_TRUE(rig.engine->resetStatistics());
    EXPECT_EQ(rig.engine->state().tickCount, 0u);

    const std::vector<HistoryPoint> shown = rig.engine->history().last(10, true, rig.edition);
    ASSERT_EQ(shown.size(), 3u);
    for (const HistoryPoint& point : shown) {
        EXPECT_EQ(point.cores[0], 113);  // 45 °C
    }
    EXPECT_EQ(rig.engine->history().last(1, false, rig.edition)[0].cores[0], 45);
}

// The fake machine with GPU cards of these vendors.
void addGpus(EngineRig& rig, std::initializer_list<GpuVendor> vendors) {
    MachineDescription machine;
    for (const GpuVendor vendor : vendors) {
        GpuDescription gpu;
        gpu.vendor = vendor;
        gpu.temperatures = {55};
        machine.gpus.push_back(gpu);
    }
    machine.nvidiaLibrary = machine.atiLibrary = GpuLibraryState::Present;
    rig.platform.nvidia = std::make_unique<SimNvidiaLibrary>(machine);
    rig.platform.adl = std::make_unique<SimAdlLibrary>(machine);
    rig.construct();
}

TEST(EngineGpu, GpuThreeWithOnlyAnNvidiaCardIsSavedAsOne) {
    EngineRig rig(Edition::standard(), "GPU=3\nAlarm2=90\n");
    addGpus(rig, {GpuVendor::Nvidia});
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    EXPECT_FALSE(rig.engine->gpuSources().active().ati);
    EXPECT_TRUE(rig.engine->state().gpuPresent);
    EXPECT_EQ(rig.engine->settings()->alarm2, 90);  // read only because a source runs
    rig.engine->runTick();
    EXPECT_EQ(rig.engine->texts().gpuButton, "GPU  55\u00B0C");
    SaveContext context;
    context.gpu = rig.engine->gpuSources().active();
    ASSERT_TRUE(saveSettings(rig.settings.file, rig.edition, *rig.engine->settings(), context));
    EXPECT_NE(rig.settings.read().find("GPU=1\n"), std::string::npos) << rig.settings.read();
}

TEST(EngineGpu, TheAtiReadPeriodComesFromTheFileWhetherTheSourceStartsOrIsCheckedLater) {
    const std::pair<std::string, int> cases[] = {{"0", 5}, {"4000", 5}, {"7", 7}, {"3600", 3600}};
    for (const auto& [value, period] : cases) {
        for (const bool atStart : {true, false}) {
            EngineRig rig(Edition::standard(),
                          (atStart ? "GPU=2\nPollInterval=" : "PollInterval=") + value + "\n");
            addGpus(rig, {GpuVendor::Ati});
            ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
            if (!atStart) {
                EXPECT_FALSE(rig.engine->state().gpuPresent);
                EXPECT_EQ(rig.engine->setAtiBox(true), GpuBoxOutcome::Running);
            }
            EXPECT_TRUE(rig.engine->state().gpuPresent);
            EXPECT_EQ(rig.engine->settings()->pollInterval, period) << value << atStart;
        }
    }
}

TEST(EngineShutdown, SavesProcessorZerosModulationThenSwitchesItOffEverywhere) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineRig rig(*edition, "ClockMod=24\n");
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

TEST(EngineShutdown, WritesTheExitKeysAndKeepsEveryOtherKey) {
    EngineRig rig(Edition::standard(),
                  "; made by hand\nMiniMode=1\nIconShow=3\nWindowXY=538976288\nLogFile=1\n");
    rig.desktop.trayTakes = 0x1;
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    rig.engine->runTick();
    rig.machine.setMsr(0, kClockModulation, 0x18);  // another tool left 50 % on processor 0
    rig.engine->shutdown();
    EXPECT_EQ(rig.settings.read(),
              "[Calidus]\n; made by hand\nMiniMode=1\nIconShow=1\nWindowXY=538976288\n"
              "LogFile=1\nClockMod=24\n");

    // A window reports where it stood.
    EngineRig window(Edition::xl());
    window.desktop.window = {.topLeft = ScreenPoint{37, 37},
                             .compositionShift = true,
                             .anchor = {100, 200},
                             .previousAnchor = {}};
    ASSERT_EQ(window.engine->start().outcome, StartOutcome::Ready);
    window.engine->shutdown();
    EXPECT_EQ(window.settings.read(), "[Calidus]\nWindowXY=538976288\nAnchorXY=" +
                                          std::to_string(packPosition({100, 200})) +
                                          "\nMiniMode=0\nIconShow=1\nClockMod=2\n");
}

TEST(EngineShutdown, AnUnreadableRegisterOrAFailedSaveCostsNeitherTheSettingNorTheRestore) {
    EngineRig unreadable(Edition::standard(), "ClockMod=24\n");
    ASSERT_EQ(unreadable.engine->start().outcome, StartOutcome::Ready);
    unreadable.engine->runTick();
    unreadable.machine.failingMsr.insert(kClockModulation);
    unreadable.engine->shutdown();
    EXPECT_NE(unreadable.settings.read().find("ClockMod=24\n"), std::string::npos);

    EngineRig unsaved(Edition::xl(), "ClockMod=24\n");
    ASSERT_EQ(unsaved.engine->start().outcome, StartOutcome::Ready);
    unsaved.engine->runTick();
    // A missing folder would be made again; a file where the folder was cannot be got past.
    std::filesystem::remove_all(unsaved.settings.folder.path());
    testing::TempFolder::write(unsaved.settings.folder.path(), "");
    unsaved.engine->shutdown();
    EXPECT_EQ(unsaved.machine.getMsr(0, kClockModulation), 2u);
    EXPECT_TRUE(unsaved.machine.stopped);
    EXPECT_TRUE(unsaved.engine->exitSaveFailed());
    EXPECT_TRUE(
        unsaved.desktop.calls.back().starts_with("problem CalidusXL: the settings could "
                                                 "not be saved to "))
        << unsaved.desktop.calls.back();
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
