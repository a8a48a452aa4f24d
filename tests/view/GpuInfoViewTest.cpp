#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimAdlLibrary.h"
#include "platform/sim/SimNvidiaLibrary.h"
#include "support/FakePlatform.h"
#include "view/AtiInfoView.h"
#include "view/GpuWindowChoice.h"
#include "view/NvidiaInfoView.h"

namespace calidus {
namespace {

constexpr std::time_t kMidnight = 1'700'006'400;

GpuDescription card(GpuVendor vendor, std::string name, std::vector<int> temperatures) {
    GpuDescription gpu;
    gpu.vendor = vendor;
    gpu.name = std::move(name);
    gpu.temperatures = std::move(temperatures);
    gpu.coreClockMHz = 750;
    gpu.memoryClockMHz = 900;
    gpu.voltageMillivolts = 1263;
    gpu.linkWidth = 16;
    gpu.memoryMegabytes = 1024;
    return gpu;
}

MachineDescription machineWith(std::vector<GpuDescription> gpus) {
    MachineDescription machine;
    machine.gpus = std::move(gpus);
    machine.nvidiaLibrary = machine.atiLibrary = GpuLibraryState::Present;
    machine.nvidiaDriver = "340.108";
    return machine;
}

struct AtiViewRig {
    explicit AtiViewRig(std::vector<GpuDescription> gpus) : library(machineWith(std::move(gpus))) {
        machine.now = kMidnight + 20;
        sensor = AtiSensor::create(library, clock);
        view.open(*sensor);
    }

    testing::FakeMachine machine;
    testing::FakeClock clock{machine};
    SimAdlLibrary library;
    std::unique_ptr<AtiSensor> sensor;
    Settings values;
    LiveSettings settings{Edition::standard(), values};
    AtiInfoView view{settings, clock};
};

TEST(AtiInfoView, OneAdapterIndexShowsOkAndTheButtonClosesTheWindow) {
    AtiViewRig rig({card(GpuVendor::Ati, "ATI Radeon HD 4800 Series", {52})});
    const AtiInfoTexts& t = rig.view.texts();
    EXPECT_EQ(t.gpuButton, "OK");
    EXPECT_EQ(t.adapterName, "ATI Radeon HD 4800");
    EXPECT_EQ(t.minimumCaption, "Minimum (\u00B0C)");
    EXPECT_EQ(t.temperatureCaption, "Temperature (\u00B0C)");
    EXPECT_EQ(t.minimum.value, "52");
    EXPECT_EQ(t.temperature, "52");
    EXPECT_EQ(t.coreClock, "750 MHz");
    EXPECT_EQ(t.memoryClock, "900 MHz");
    EXPECT_EQ(t.voltage, "1.263 V");
    EXPECT_EQ(t.linkWidth, "x 16");
    EXPECT_EQ(t.period, "5");
    EXPECT_FALSE(rig.view.stepGpu(*rig.sensor));
}

TEST(AtiInfoView, TheGpuButtonSkipsIndicesThatNeverAnsweredAndCountsPresses) {
    GpuDescription twoOutputs = card(GpuVendor::Ati, "A", {60});
    twoOutputs.outputs = 2;  // index 1 is never read
    AtiViewRig rig({twoOutputs, card(GpuVendor::Ati, "B", {55}),
                    card(GpuVendor::Ati, "C", {0})});  // C answers, never validly
    EXPECT_EQ(rig.view.texts().gpuButton, "GPU 1");
    struct Press {
        std::string button;
        int adapter;
        std::string minimum;
    };
    const Press presses[] = {{"GPU 2", 2, "55"}, {"GPU 3", 3, ""}, {"GPU 1", 0, "60"}};
    for (const Press& press : presses) {
        EXPECT_TRUE(rig.view.stepGpu(*rig.sensor));
        EXPECT_EQ(rig.view.texts().gpuButton, press.button);
        EXPECT_EQ(rig.view.adapter(), press.adapter);
        EXPECT_EQ(rig.view.texts().minimum.value, press.minimum) << press.button;
        EXPECT_EQ(rig.view.texts().maximum.date.empty(), press.minimum.empty()) << press.button;
    }
}

TEST(AtiInfoView, ThePeriodFieldIsCorrectedAndKeptForTheSourceAndTheFile) {
    const std::pair<std::string, int> cases[] = {
        {"0", 1},       {"99999", 3600}, {"abc", 1},
        {"-5", 1},      {" 7 ", 7},      {"", 1},
        {"3600", 3600}, {"1", 1},        {"99999999999999999999", 3600},
    };
    for (const auto& [text, seconds] : cases) {
        EXPECT_EQ(correctedReadPeriod(text), seconds) << text;
    }
    AtiViewRig rig({card(GpuVendor::Ati, "A", {52})});
    rig.view.periodEdited("99999");
    EXPECT_EQ(rig.view.texts().period, "3600");
    EXPECT_EQ(rig.values.pollInterval, 3600);
    EXPECT_EQ(rig.view.keysToSave().pollInterval, 3600);
}

TEST(AtiInfoView, AFrozenReadingKeepsItsExtremesButShowsNoCurrentValues) {
    AtiViewRig rig({card(GpuVendor::Ati, "A", {52, 57})});
    rig.view.setFrozen(*rig.sensor, true);
    rig.machine.now = kMidnight + 25;
    rig.sensor->read(rig.clock, {.pollInterval = 5, .disableSensor = rig.values.disableSensor});
    rig.view.refresh(*rig.sensor);
    const AtiInfoTexts& t = rig.view.texts();
    EXPECT_EQ(t.minimum.value, "52");
    EXPECT_EQ(t.temperature, "");
    EXPECT_EQ(t.coreClock, "");
    EXPECT_FALSE(rig.view.periodEnabled());
    EXPECT_TRUE(rig.view.keysToSave().disableSensor);

    rig.view.setFrozen(*rig.sensor, false);
    rig.machine.now = kMidnight + 26;  // not on the period: the freeze's end reads at once
    rig.sensor->read(rig.clock, {.pollInterval = 5, .disableSensor = rig.values.disableSensor});
    rig.view.refresh(*rig.sensor);
    EXPECT_EQ(t.temperature, "57");
    EXPECT_EQ(t.maximum.value, "57");
}

TEST(AtiInfoView, AUnitChangeRemakesTheCaptionsAtTheNextRefresh) {
    AtiViewRig rig({card(GpuVendor::Ati, "A", {37})});
    rig.settings.set(KeyId::Fahrenheit, 1);
    rig.machine.now = kMidnight + 21;  // between two reads: nothing changes
    rig.view.refresh(*rig.sensor);
    EXPECT_EQ(rig.view.texts().maximumCaption, "Maximum (\u00B0C)");
    rig.machine.now = kMidnight + 25;
    rig.view.refresh(*rig.sensor);
    EXPECT_EQ(rig.view.texts().maximumCaption, "Maximum (\u00B0F)");
    EXPECT_EQ(rig.view.texts().temperatureCaption, "Temperature (\u00B0F)");
    EXPECT_EQ(rig.view.texts().maximum.value, "99");  // (18 * 37 + 5) / 10 + 32
    EXPECT_EQ(gpuInfoDegrees(0, true), 32);
    EXPECT_EQ(gpuInfoDegrees(127, true), 261);
}

TEST(NvidiaInfoView, ShowsTheCardAndStepsWithoutEmptyingTheExtremes) {
    GpuDescription quiet = card(GpuVendor::Nvidia, "GeForce 8800 GT", {60});
    quiet.failing = {"temperature", "memory", "linkwidth"};
    SimNvidiaLibrary library(
        machineWith({card(GpuVendor::Nvidia, "GeForce GTX 285", {50}), quiet}));
    std::unique_ptr<NvidiaSensor> sensor = NvidiaSensor::create(library, kMidnight);
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        sensor->read(kMidnight + 1);
        testing::FakeMachine machine;
        testing::FakeClock clock(machine);
        Settings settings;
        NvidiaInfoView view(*edition, settings, clock);
        view.open(*sensor);
        const NvidiaInfoTexts& t = view.texts();
        EXPECT_EQ(t.gpuButton, "GPU 1");
        EXPECT_EQ(t.name, "GeForce GTX 285");
        EXPECT_EQ(t.driverVersion, "340.108");
        EXPECT_EQ(t.memory, "1024 MB");
        EXPECT_EQ(t.linkWidth, "x16");
        EXPECT_EQ(t.minimum.value, "50");

        ASSERT_TRUE(view.stepGpu(*sensor));
        EXPECT_EQ(t.gpuButton, "GPU 2");
        EXPECT_EQ(t.name, "GeForce 8800 GT");
        EXPECT_EQ(t.memory, "0 MB");
        EXPECT_EQ(t.linkWidth, "x0");
        EXPECT_EQ(t.minimum.value, "50");  // the first GPU's, as it has none yet

        settings.fahrenheit = true;
        ASSERT_TRUE(view.stepGpu(*sensor));
        EXPECT_EQ(t.gpuButton, "GPU 1");
        EXPECT_EQ(t.minimum.value, "122");
        EXPECT_EQ(t.minimumCaption, edition->isXL() ? "Minimum (\u00B0F)" : "Minimum (\u00B0C)");
        view.reset(*sensor);
        EXPECT_EQ(t.minimum.value, "");
        EXPECT_EQ(t.maximum.time, "");
    }
}

TEST(GpuWindowChoice, TheGpuButtonOpensTheWindowsOfTheRunningSources) {
    struct Case {
        bool ati, nvidia, atiOpen;
        bool openAti, openNvidia;
    };
    const Case cases[] = {
        {true, false, false, true, false}, {true, false, true, true, false},
        {false, true, false, false, true}, {false, true, true, false, true},
        {true, true, false, true, false},  {true, true, true, true, true},
    };
    for (const Case& c : cases) {
        const GpuWindowChoice choice = gpuButtonChoice(c.ati, c.nvidia, c.atiOpen);
        EXPECT_EQ(choice.ati, c.openAti);
        EXPECT_EQ(choice.nvidia, c.openNvidia);
    }
}

}  // namespace
}  // namespace calidus
