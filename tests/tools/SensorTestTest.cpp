#include "tools/SensorTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>

#include "common/Registers.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "support/SimulatedHost.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

namespace fs = std::filesystem;
using testing::FakeMachine;

// A stress program that runs until it is ended, or until the test says the user closed it.
class ScriptedLauncher : public ProcessLauncher {
  public:
    bool alive = true;
    int ends = 0;
    LaunchResult startDetached(const fs::path&) override { return {}; }
    std::optional<ProcessId> start(const fs::path&, const std::vector<std::string>&) override {
        return 4242;
    }
    bool running(ProcessId) override { return alive; }
    void end(ProcessId, std::chrono::milliseconds) override {
        ++ends;
        alive = false;
    }
    bool setAffinity(ProcessId, std::uint32_t) override { return true; }
};

// An E8400 whose second core's sensor is stuck at 48 and whose modulation starts at 0x1A, with
// time, the host's load and the workload in the test's hands.
struct Rig {
    explicit Rig(std::unique_ptr<ProcessLauncher> launcher) {
        DescriptionParse parse = parseMachineDescription(testing::builtInDescription("e8400") +
                                                         "0x19A=0x1A\n[Msr.1]\n0x19C=0x88300000\n");
        platform = makeSimulatedPlatform(
            std::move(*parse.description),
            {std::make_unique<testing::FakeScheduler>(host),
             std::make_unique<testing::FakeClock>(host),
             std::make_unique<testing::HostLoad>(hostLoad), std::move(launcher)});
        access.setSystemMask(platform.scheduler->affinityMasks().system);
        map = buildCoreMap(access, Edition::standard());
        test = std::make_unique<SensorTest>(SensorTestInputs{.edition = Edition::standard(),
                                                             .access = access,
                                                             .coreMap = map,
                                                             .scheduler = *platform.scheduler,
                                                             .launcher = platform.launcher.get(),
                                                             .averageLoad = [] { return 0.0; },
                                                             .workloadStep = [] {}});
    }

    void seconds(int count) { host.counter += count * 1'000'000LL; }
    std::uint32_t modulation(std::uint32_t processor) {
        return access.readMsr(processor, msr::kClockModulation).low;
    }
    // The movement test with the workload's load on the host, then Start with `program`.
    void openAndStart(const fs::path& program) {
        test->open();
        hostLoad = 100;
        seconds(4);
        test->finishMovementTest();
        hostLoad = 2;
        seconds(60);
        test->prepareStart();
        ASSERT_TRUE(test->startProgram(program));
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            seconds(1);
            test->tick();
        }
    }

    FakeMachine host;
    std::atomic<double> hostLoad{2};
    Platform platform;
    ProcessorAccess access{platform};
    CoreMap map;
    std::unique_ptr<SensorTest> test;
};

TEST(SensorTest, AWholeRunWithAStressScriptCoolsStepByStepAndRestoresTheMachine) {
    testing::TempFolder folder;
    const fs::path script = folder / "stress";
    testing::TempFolder::write(
        script, "#!/bin/sh\necho $$ > \"" + (folder / "pid").string() + "\"\nexec sleep 600\n");
    fs::permissions(script, fs::perms::owner_all);
    ProcessIdentity asOurselves = thisProcess();
    asOurselves.root = false;
    Rig rig(std::make_unique<LinuxProcessLauncher>(asOurselves));
    rig.openAndStart(script);
    const SensorTestView& view = rig.test->view();
    EXPECT_NE(view.movement[0], "0");
    EXPECT_EQ(view.movement[1], "0");  // the stuck sensor
    EXPECT_EQ(view.movement[2], "");

    std::map<int, std::string> statusAt;
    std::vector<std::uint32_t> writes{rig.modulation(0)};
    while (rig.test->running()) {
        rig.seconds(1);
        EXPECT_FALSE(rig.test->tick()) << rig.test->tickCount();
        statusAt[rig.test->tickCount()] = view.status;
        if (rig.modulation(0) != writes.back()) {
            writes.push_back(rig.modulation(0));
        }
        EXPECT_EQ(rig.modulation(1), rig.modulation(0));
        ASSERT_LE(rig.test->tickCount(), kSensorTestTicks);
    }
    EXPECT_EQ(rig.test->tickCount(), kSensorTestTicks);
    EXPECT_EQ(writes, (std::vector<std::uint32_t>{2, 30, 28, 26, 24, 22, 20, 18, 2, 0x1A}));
    for (const auto& [tick, status] : std::map<int, std::string>{
             {1, "Run Small FFTs"},  // the readings have not fallen far enough yet
             {2, "Heat Up Phase = 1%"},
             {199, "Heat Up Phase = 99%"},
             {200, "Cool Down Test Begins."},
             {206, "Test #2 = 1"},
             {245, "Test #2 = 40"},
             {246, "Test #3 Begins."},
             {521, "Test #8 = 40"},
             {522, "Stopping Prime95"},
             {568, "Final Idle Test Begins"},
             {613, "Test #10 = 40"},
             {614, "CPU Cool Down Test Completed"}}) {
        EXPECT_EQ(statusAt[tick], status) << tick;
    }
    const std::vector<std::string> loads{"100.0%", "87.5%", "75.0%", "62.5%", "50.0%",
                                         "37.5%",  "25.0%", "12.5%", "0.0%",  "0.0%"};
    for (std::size_t row = 0; row < kSensorTestRows; ++row) {
        EXPECT_EQ(view.loads[row], loads[row]) << row;
        EXPECT_EQ(view.rows[row][1], "48.0") << row;
        EXPECT_EQ(view.rows[row][2] + view.rows[row][3], "") << row;
        if (row >= 2 && row <= 7) {
            EXPECT_GT(std::stod(view.rows[row][0]), std::stod(view.rows[row - 1][0])) << row;
        }
    }
    EXPECT_LT(std::stod(view.rows[0][0]), std::stod(view.rows[1][0]));
    const std::string pid = testing::TempFolder::read(folder / "pid");
    EXPECT_FALSE(fs::exists("/proc/" + pid.substr(0, pid.size() - 1))) << "stress still runs";
}

TEST(SensorTest, StopsOnTheStressProgramsEndAndRestoresWhatItFound) {
    struct Case {
        const char* what;
        int ticks;  // run before the event
        bool goneAtStart;
        bool closeWindow;
        std::string message;
        std::string status;
    };
    for (const Case& c : {
             Case{"stop in row 5", 350, false, false, "", "CPU Cool Down Test Stopped."},
             Case{"second copy", 0, true, false,
                  "Prime 95 may already be open.\n\nExit Prime 95 before starting the\nCPU Cool "
                  "Down Test.",
                  "CPU Cool Down Test Stopped."},
             Case{"user closed it", 6, false, false, "Prime 95 was Cancelled.",
                  "CPU Cool Down Test Stopped."},
             Case{"window closed", 100, false, true, "", ""},
         }) {
        auto owned = std::make_unique<ScriptedLauncher>();
        ScriptedLauncher& stress = *owned;
        Rig rig(std::move(owned));
        rig.openAndStart("mprime");
        stress.alive = !c.goneAtStart;
        rig.ticks(c.ticks);
        ASSERT_TRUE(rig.test->running()) << c.what;
        std::optional<SensorTestMessage> message;
        if (c.closeWindow) {
            rig.test.reset();
        } else if (c.message.empty()) {
            rig.test->stop();
        } else {
            stress.alive = false;
            rig.seconds(1);
            message = rig.test->tick();
            EXPECT_EQ(rig.test->tickCount(), c.ticks + 1) << c.what;
        }
        EXPECT_EQ(message ? message->text : "", c.message) << c.what;
        EXPECT_EQ(stress.ends, 1 - int(c.goneAtStart || !c.message.empty())) << c.what;
        EXPECT_EQ(rig.modulation(0), 0x1Au) << c.what;
        EXPECT_EQ(rig.modulation(1), 0x1Au) << c.what;
        if (rig.test) {
            const SensorTestView& view = rig.test->view();
            EXPECT_FALSE(rig.test->running()) << c.what;
            EXPECT_EQ(view.status, c.status) << c.what;
            EXPECT_TRUE(view.startEnabled && !view.stopEnabled) << c.what;
            EXPECT_EQ(view.rows[3][0].empty(), c.ticks < 338) << c.what;
            for (std::size_t row = 4; row < kSensorTestRows; ++row) {
                EXPECT_EQ(view.rows[row][0] + view.loads[row], "") << c.what << " row " << row;
            }
        }
    }
}

}  // namespace
}  // namespace calidus
