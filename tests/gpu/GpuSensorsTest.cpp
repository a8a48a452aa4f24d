#include <gtest/gtest.h>

#include <vector>

#include "gpu/AtiSensor.h"
#include "gpu/GpuSources.h"
#include "gpu/NvidiaSensor.h"
#include "platform/sim/SimAdlLibrary.h"
#include "platform/sim/SimNvidiaLibrary.h"
#include "support/FakePlatform.h"

namespace calidus {
namespace {

constexpr std::time_t kMidnight = 1'700'006'400;  // a whole day: local seconds count from 0

GpuDescription card(GpuVendor vendor, std::vector<int> temperatures, int outputs = 1) {
    GpuDescription gpu;
    gpu.vendor = vendor;
    gpu.name = vendor == GpuVendor::Ati ? "ATI Radeon HD 4800 Series" : "GeForce GTX 285";
    gpu.temperatures = std::move(temperatures);
    gpu.outputs = outputs;
    return gpu;
}

MachineDescription machineWith(std::vector<GpuDescription> gpus) {
    MachineDescription machine;
    machine.gpus = std::move(gpus);
    machine.nvidiaLibrary = machine.atiLibrary = GpuLibraryState::Present;
    return machine;
}

struct AtiRig {
    explicit AtiRig(std::vector<GpuDescription> gpus) : library(machineWith(std::move(gpus))) {
        machine.now = kMidnight + 10;
        sensor = AtiSensor::create(library, clock);
    }
    std::vector<int> temperatures() const {
        std::vector<int> shown;
        for (int adapter = 0; adapter < sensor->adapterCount(); ++adapter) {
            shown.push_back(sensor->temperature(adapter));
        }
        return shown;
    }

    testing::FakeMachine machine;
    testing::FakeClock clock{machine};
    SimAdlLibrary library;
    std::unique_ptr<AtiSensor> sensor;
};

TEST(AtiSensor, ACardListedOncePerOutputIsReadOnceThroughItsFirstIndex) {
    AtiRig rig({card(GpuVendor::Ati, {60}, 4), card(GpuVendor::Ati, {55})});
    ASSERT_NE(rig.sensor, nullptr);
    EXPECT_EQ(rig.temperatures(), (std::vector<int>{60, -1, -1, -1, 55}));
    EXPECT_EQ(rig.sensor->readMask(), 0b10001u);
    EXPECT_EQ(rig.sensor->hottest(), 60);
}

TEST(AtiSensor, ReadsAtOnceThenOnlyOnWallClockMultiplesOfThePeriod) {
    AtiRig rig({card(GpuVendor::Ati, {40, 41, 42, 43, 44, 45})});
    ASSERT_EQ(rig.sensor->hottest(), 40);  // the read at creation, at second 10
    struct Step {
        int second;
        AtiReadPeriod period;
        bool reset;
        int hottest;
    };
    const Step steps[] = {
        {11, {7, false}, false, 40}, {13, {7, false}, false, 40}, {14, {7, false}, false, 41},
        {15, {7, false}, false, 41}, {21, {7, false}, false, 42}, {28, {7, true}, false, 42},
        {29, {7, false}, true, 43},  {30, {7, false}, false, 43}, {35, {7, false}, false, 44},
        {36, {1, false}, false, 45},
    };
    for (const Step& step : steps) {
        rig.machine.now = kMidnight + step.second;
        if (step.reset) {
            rig.sensor->reset(rig.machine.now);
        }
        EXPECT_NE(rig.sensor->read(rig.clock, step.period), 0u) << step.second;
        EXPECT_EQ(rig.sensor->hottest(), step.hottest) << step.second;
    }
}

TEST(AtiSensor, ImplausibleReadingsAreShownButKeepTheLastFullyGoodHottest) {
    AtiRig rig({card(GpuVendor::Ati, {60, 61, 62, 63}), card(GpuVendor::Ati, {50, 0, 130, 51})});
    struct Read {
        int hottest;
        int second;  // the second card's shown temperature
    };
    const Read reads[] = {{60, 50}, {60, 0}, {60, 130}, {63, 51}};
    for (const Read& read : reads) {
        if (&read != reads) {
            rig.sensor->readAtOnce();
            rig.sensor->read(rig.clock, {});
        }
        EXPECT_EQ(rig.sensor->hottest(), read.hottest);
        EXPECT_EQ(rig.sensor->temperature(1), read.second);
    }
    EXPECT_EQ(rig.sensor->extremes(1).minTemp, 50);
    EXPECT_EQ(rig.sensor->extremes(1).maxTemp, 51);
    EXPECT_EQ(rig.sensor->extremes(0).maxTemp, 63);

    AtiRig cold({card(GpuVendor::Ati, {0})});  // it answered, with nothing valid
    ASSERT_NE(cold.sensor, nullptr);
    EXPECT_EQ(cold.sensor->hottest(), 0);
    EXPECT_FALSE(cold.sensor->extremes(0).hasMinimum());
}

TEST(NvidiaSensor, AFailedOrImplausibleReadingRepeatsTheLastGoodHottest) {
    MachineDescription machine = machineWith({card(GpuVendor::Nvidia, {50, 128, 52, 49})});
    machine.nvidiaDriver = "340.108";
    SimNvidiaLibrary library(machine);
    std::unique_ptr<NvidiaSensor> sensor = NvidiaSensor::create(library, kMidnight);
    ASSERT_NE(sensor, nullptr);
    EXPECT_EQ(sensor->driverVersion(), "340.108");
    std::vector<int> hottest;
    for (std::time_t now = kMidnight + 1; now < kMidnight + 5; ++now) {
        sensor->read(now);
        hottest.push_back(sensor->hottest());
    }
    EXPECT_EQ(hottest, (std::vector<int>{50, 50, 52, 49}));
    EXPECT_EQ(sensor->extremes(0).minTemp, 49);
    EXPECT_EQ(sensor->extremes(0).maxTemp, 52);
    EXPECT_EQ(sensor->extremes(0).maxTime, kMidnight + 3);
}

// A run's context on a machine that only has GPUs.
struct SourcesRig {
    explicit SourcesRig(MachineDescription gpus) {
        platform.nvidia = std::make_unique<SimNvidiaLibrary>(gpus);
        platform.adl = std::make_unique<SimAdlLibrary>(gpus);
    }
    RunContext context() { return {edition, platform, access, settings, config, state, threads}; }

    const Edition& edition = Edition::standard();
    testing::FakeMachine machine;
    Platform platform = testing::makeFakePlatform(machine);
    ProcessorAccess access{platform};
    Settings settings;
    RunConfiguration config;
    MonitorState state;
    ThreadControl threads;
    GpuSources sources;
};

TEST(GpuSources, AnyFailingStepLeavesThatSourceOff) {
    const auto withFailing = [](GpuVendor vendor, const char* call) {
        GpuDescription gpu = card(vendor, {50});
        gpu.failing.insert(call);
        return machineWith({gpu});
    };
    MachineDescription missing =
        machineWith({card(GpuVendor::Nvidia, {50}), card(GpuVendor::Ati, {50})});
    missing.nvidiaLibrary = missing.atiLibrary = GpuLibraryState::Missing;
    MachineDescription failing = missing;
    failing.nvidiaLibrary = failing.atiLibrary = GpuLibraryState::Failing;
    const MachineDescription cases[] = {
        missing,
        failing,
        machineWith({}),  // the libraries without a card
        withFailing(GpuVendor::Ati, "adapterid"),
        withFailing(GpuVendor::Ati, "temperature"),
    };
    for (const MachineDescription& machine : cases) {
        SourcesRig rig(machine);
        rig.settings.gpu = 3;
        RunContext run = rig.context();
        rig.sources.startUp(run);
        EXPECT_FALSE(rig.sources.active().any());
        EXPECT_EQ(rig.sources.ati(), nullptr);
        EXPECT_EQ(rig.sources.nvidia(), nullptr);
        EXPECT_FALSE(rig.state.gpuPresent);
    }
}

TEST(GpuSources, TheHotterSourceIsTheGpuTemperatureAndAClearedBoxKeepsItUpdating) {
    SourcesRig rig(
        machineWith({card(GpuVendor::Nvidia, {50, 51, 70}), card(GpuVendor::Ati, {60})}));
    rig.settings.gpu = 3;
    RunContext run = rig.context();
    rig.sources.startUp(run);
    ASSERT_TRUE(rig.state.gpuPresent);
    rig.sources.tick(run);
    EXPECT_EQ(rig.sources.nvidia()->hottest(), 50);
    EXPECT_EQ(rig.sources.ati()->hottest(), 60);
    EXPECT_EQ(rig.state.gpu.temperature, 60);

    EXPECT_EQ(rig.sources.setNvidiaBox(run, false), GpuBoxOutcome::RestartToDisable);
    EXPECT_EQ(rig.sources.setNvidiaBox(run, false), GpuBoxOutcome::RestartToDisable);
    EXPECT_FALSE(rig.sources.active().nvidia);
    rig.sources.tick(run);
    rig.sources.tick(run);
    EXPECT_EQ(rig.state.gpu.temperature, 70);
    EXPECT_EQ(rig.sources.setNvidiaBox(run, true), GpuBoxOutcome::Running);
    EXPECT_TRUE(rig.sources.active().nvidia);
}

TEST(GpuSources, CheckingABoxBringsTheSourceUpOrReportsTheFailure) {
    SourcesRig rig(machineWith({card(GpuVendor::Ati, {45})}));
    RunContext run = rig.context();
    rig.sources.startUp(run);
    ASSERT_FALSE(rig.state.gpuPresent);
    EXPECT_EQ(rig.sources.setNvidiaBox(run, true), GpuBoxOutcome::Failed);
    EXPECT_FALSE(rig.state.gpuPresent);
    EXPECT_EQ(rig.sources.setAtiBox(run, true), GpuBoxOutcome::Running);
    EXPECT_TRUE(rig.state.gpuPresent);
    EXPECT_EQ(rig.sources.active().ati, true);
    EXPECT_EQ(rig.sources.ati()->hottest(), 45);
}

}  // namespace
}  // namespace calidus
