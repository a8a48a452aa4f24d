#include <gtest/gtest.h>

#include "app/EngineRig.h"
#include "support/SimulatedHost.h"

namespace calidus {
namespace {

using testing::builtInDescription;

// The engine on a simulated machine whose time moves only when the test says. Start-up ends
// 0.35 s in (the driver's 250 ms and the counters' 100 ms); tickAt(t) lets time pass to second t
// and ticks, so that each tick covers whole seconds of the description's scripts.
struct SimRig {
    SimRig(const Edition& e, const std::string& description, std::string_view keys = {})
        : edition(e), settings(e), platform(testing::describedPlatform(host, description)) {
        if (!keys.empty()) {
            settings.write(keys);
        }
        engine = std::make_unique<Engine>(edition, platform, desktop, desktop,
                                          EngineSettings{.file = settings.file});
        EXPECT_EQ(engine->start().outcome, StartOutcome::Ready);
        host.awaitSleepingWorkers(engine->settings()->tmLoad || engine->readOnly() ? 2 : 1);
    }

    void passTo(double seconds) {
        const auto target = static_cast<std::int64_t>(seconds * 1e6);
        platform.scheduler->sleep(std::chrono::milliseconds((target - host.counter) / 1000));
        host.now = kStart + static_cast<std::time_t>(seconds);
    }
    const DisplayTexts& tickAt(double seconds) {
        passTo(seconds);
        engine->runTick();
        return engine->texts();
    }
    std::string header(double seconds) {
        const DisplayTexts& t = tickAt(seconds);
        return t.clock + " | " + t.busClock + " | " + t.vidOrRunTime + " | " + t.load;
    }

    static constexpr std::time_t kStart = 1'700'000'000;
    const Edition& edition;
    testing::SettingsFolder settings;
    testing::FakeMachine host;
    Platform platform;
    testing::RecordingDesktop desktop;
    std::unique_ptr<Engine> engine;
};

TEST(EngineClock, WithoutTheRegistersTheKernelsClockAndTheSystemsLoadShow) {
    std::string description =
        builtInDescription("i7-920") + "[Load]\nAll=3,3,100,3\n0=3,3,100,100\n";
    description.insert(description.find('\n') + 1, "Authentication=refused\nCoretemp=1\n");
    // The highest processor's clock at the moment of the tick; no ratio, so no bus; no VID.
    SimRig rig(Edition::standard(), description, "VIDInfo=1\n");
    EXPECT_EQ(rig.header(2), "2800.00 MHz | 2800.00 x 1.0 | 0:00:02 | Load  12.5%");
    EXPECT_EQ(rig.header(3), "2933.34 MHz | 2933.34 x 1.0 | 0:00:03 | Load  12.5%");
}

TEST(EngineClock, TheFiguresFollowTheScriptedLoadBetweenTheLowestAndTheTurboRatio) {
    // Idle, then all eight threads busy, then one.
    SimRig rig(Edition::standard(),
               builtInDescription("i7-920") + "[Load]\nAll=3,3,100,3\n0=3,3,100,100\n");
    EXPECT_EQ(rig.header(2), "1600.00 MHz | 133.33 x 12.0 | 0:00:02 | Load   3.0%");
    EXPECT_EQ(rig.header(3), "2800.00 MHz | 133.33 x 21.0 | 0:00:03 | Load 100.0%");
    EXPECT_EQ(rig.header(4), "2933.34 MHz | 133.33 x 22.0 | 0:00:04 | Load  15.1%");
    EXPECT_DOUBLE_EQ(rig.engine->state().clock.multiplier, 22.0);

    // The six-core XL model tops out at 27 with one core busy, the TMLoad source instead.
    SimRig xl(Edition::xl(), builtInDescription("i7-980x") + "[Load]\nAll=3,3,100,3\n0=3,3,3,100\n",
              "TMLoad=1\n");
    EXPECT_EQ(xl.header(2), "1600.00 MHz | 133.33 x 12.0 | 0:00:02 | Load  12.5%");
    EXPECT_EQ(xl.header(3), "3466.66 MHz | 133.33 x 26.0 | 0:00:03 | Load  12.5%");
    EXPECT_EQ(xl.header(4), "3600.00 MHz | 133.33 x 27.0 | 0:00:04 | Load  12.5%");
    // Without "TMLoad" the fixed counters' load shows again; the thread goes on for a later on.
    xl.engine->settings().set(KeyId::TmLoad, 0);
    EXPECT_EQ(xl.tickAt(5).load, "Load  11.1%");
    EXPECT_EQ(xl.engine->threadControl().loadThreadFlag, ThreadControl::kRunning);
}

TEST(EngineClock, AFlexibleRatioChangeRereadsTheRatiosAndTheClockThreadFollowsTheNewRate) {
    // Busy throughout; from second 3 the flexible ratio caps the E8400 at 8, its TSC with it.
    SimRig rig(Edition::standard(),
               builtInDescription("e8400") + "[Load]\nAll=100\n[TimedMsr]\n0x194=0,0,0,0x10800\n",
               "VIDInfo=1\n");
    EXPECT_EQ(rig.header(2), "3000.00 MHz | 333.33 x 9.0 | VID   1.2250 | Load 100.0%");
    // At once the ratios are read again; the calibration takes its five windows to agree.
    EXPECT_EQ(rig.tickAt(3).busClock, "375.00 x 8.0");
    EXPECT_EQ(rig.header(6), "2666.67 MHz | 333.33 x 8.0 | VID   1.2250 | Load 100.0%");

    SimRig idle(Edition::standard(), builtInDescription("e8400") + "[Load]\nAll=3\n");
    EXPECT_EQ(idle.header(2), "2000.00 MHz | 333.33 x 6.0 | 0:00:02 | Load   3.0%");
    // "MSRMulti" takes the multiplier from the power-on ratio instead of the counters.
    SimRig registers(Edition::standard(), builtInDescription("e8400") + "[Load]\nAll=3\n",
                     "MSRMulti=1\n");
    EXPECT_EQ(registers.header(2), "3000.00 MHz | 333.33 x 9.0 | 0:00:02 | Load   3.0%");
}

TEST(EngineClock, KillMHzEndsTheClockThreadAtTheFourthTickOfAMobileStandardEdition) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        SimRig rig(*edition, builtInDescription("t9300") + "[Load]\nAll=100\n");
        const ThreadControl& threads = rig.engine->threadControl();
        for (int tick = 1; tick <= 4; ++tick) {
            rig.tickAt(tick);
        }
        EXPECT_EQ(threads.clockThreadFlag,
                  edition->isXL() ? ThreadControl::kRunning : ThreadControl::kStopRequested);
        rig.passTo(4.4);
        EXPECT_EQ(threads.clockThreadFlag,
                  edition->isXL() ? ThreadControl::kRunning : ThreadControl::kStopped);
        // The last calibration stays in use.
        EXPECT_EQ(rig.tickAt(5).clock, "2500.00 MHz");
        EXPECT_EQ(rig.engine->texts().busClock, "200.00 x 12.5");
    }
}

// A second shutdown (the engine's destructor after the front end's) waits for nothing, also in
// the XL edition, which asks the clock thread to stop whether it runs or not.
TEST(EngineClock, ShutdownStopsBothThreadsWellInsideItsBudget) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        SimRig rig(*edition, builtInDescription("i7-920"), "TMLoad=1\n");
        rig.tickAt(1.0);
        rig.passTo(1.2);  // both threads asleep in the middle of their waits
        const std::int64_t before = rig.host.sleptMs;
        rig.engine->shutdown();
        EXPECT_LE(rig.host.sleptMs - before, 500);
        EXPECT_EQ(rig.engine->threadControl().clockThreadFlag, ThreadControl::kStopped);
        EXPECT_EQ(rig.engine->threadControl().loadThreadFlag, ThreadControl::kStopped);
        const std::int64_t afterFirst = rig.host.sleptMs;
        rig.engine->shutdown();
        EXPECT_EQ(rig.host.sleptMs, afterFirst) << edition->programName;
    }
}

}  // namespace
}  // namespace calidus
