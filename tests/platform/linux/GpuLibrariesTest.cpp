// The NVIDIA and AMD libraries as a machine has them: stand-ins built with the tests, loaded by
// path through the real loader, and a fake sysfs tree of the amdgpu driver.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gpu/AtiSensor.h"
#include "platform/linux/AdlSharedLibrary.h"
#include "platform/linux/LinuxAdlLibrary.h"
#include "platform/linux/LinuxLibraryLoader.h"
#include "platform/linux/NvmlLibrary.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"
#include "support/standins/StandInScripts.h"

namespace calidus {
namespace {

std::vector<std::string> journal;

void note(const char* entry) {
    journal.emplace_back(entry);
}

bool mapped(const char* library) {
    const std::string path = std::filesystem::canonical(library).string();
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.find(path) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The test's own hold on a stand-in, to script it before the code under test loads it.
class StandIn {
  public:
    explicit StandIn(const char* path) : handle_(loader_.open(path)) { journal.clear(); }
    ~StandIn() { release(); }
    template <typename Script>
    void script(const char* entry, const Script& answers) {
        using Setter = void (*)(const Script*, StandInJournal);
        reinterpret_cast<Setter>(loader_.symbol(handle_, entry))(&answers, note);
    }
    void release() {
        loader_.close(handle_);
        handle_ = nullptr;
    }

  private:
    LinuxLibraryLoader loader_;
    LibraryLoader::Handle handle_;
};

StandInNvmlScript twoGeForces() {
    StandInNvmlScript s{};
    s.count = 2;
    s.temperature[0] = 50;
    s.temperature[1] = 61;
    s.linkWidth[0] = 16;
    s.memoryBytes[0] = 8ull << 30;
    std::strcpy(s.driver, "535.104.05");
    std::strcpy(s.name[0], "NVIDIA GeForce RTX 3070");
    return s;
}

TEST(NvmlLibrary, TheSecondNameLoadsAndEveryCallGoesThroughItsVersionedEntry) {
    StandIn standIn(CALIDUS_STANDIN_NVML);
    standIn.script("standInNvml", twoGeForces());
    LinuxLibraryLoader loader;
    NvmlLibrary nvml(loader, {"/nonexistent/libnvidia-ml.so.1", CALIDUS_STANDIN_NVML});
    std::uint32_t value = 0;
    EXPECT_EQ(nvml.temperature(0, value), NvidiaLibrary::kNotLoaded);

    ASSERT_EQ(nvml.load(), 0);
    std::string text;
    EXPECT_EQ(nvml.driverVersion(text), 0);
    EXPECT_EQ(text, "535.104.05");
    ASSERT_EQ(nvml.enumerateGpus(value), 0);
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(nvml.temperature(1, value), 0);
    EXPECT_EQ(value, 61u);
    EXPECT_EQ(nvml.fullName(0, text), 0);
    EXPECT_EQ(text, "NVIDIA GeForce RTX 3070");
    EXPECT_EQ(nvml.pcieLinkWidth(0, value), 0);
    EXPECT_EQ(value, 16u);
    EXPECT_EQ(nvml.frameBufferKilobytes(0, value), 0);
    EXPECT_EQ(value, 8u << 20);
    EXPECT_NE(nvml.temperature(2, value), 0);

    standIn.release();
    EXPECT_TRUE(mapped(CALIDUS_STANDIN_NVML));
    nvml.unload();
    EXPECT_EQ(journal.back(), "nvmlShutdown");
    EXPECT_FALSE(mapped(CALIDUS_STANDIN_NVML));
}

TEST(NvmlLibrary, AFailedLoadLeavesNothingLoaded) {
    struct Case {
        const char* library;
        int initStatus;
        int status;
    };
    const Case cases[] = {
        {"/nonexistent/libnvidia-ml.so.1", 0, NvidiaLibrary::kLibraryNotFound},
        {CALIDUS_STANDIN_ADL, 0, NvidiaLibrary::kEntryNotFound},  // no nvmlInit_v2
        {CALIDUS_STANDIN_NVML, 9, 9},                             // NVML_ERROR_DRIVER_NOT_LOADED
    };
    for (const Case& c : cases) {
        StandIn standIn(CALIDUS_STANDIN_NVML);
        StandInNvmlScript script = twoGeForces();
        script.initStatus = c.initStatus;
        standIn.script("standInNvml", script);
        LinuxLibraryLoader loader;
        NvmlLibrary nvml(loader, {c.library});
        EXPECT_EQ(nvml.load(), c.status) << c.library;
        standIn.release();
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "nvmlShutdown"), 0) << c.library;
        EXPECT_FALSE(mapped(CALIDUS_STANDIN_NVML)) << c.library;
        EXPECT_FALSE(mapped(CALIDUS_STANDIN_ADL)) << c.library;
    }
}

StandInAdlScript oneCardOfTwoOutputs() {
    StandInAdlScript s{};
    s.count = 2;
    s.id[0] = s.id[1] = 7;
    s.millidegrees[0] = s.millidegrees[1] = 64500;
    std::strcpy(s.name[0], "AMD Radeon HD 7900 Series");
    std::strcpy(s.name[1], "AMD Radeon HD 7900 Series");
    s.engineClock = 92500;
    s.memoryClock = 137500;
    s.vddc = 1170;
    s.lanes = 16;
    return s;
}

TEST(AdlSharedLibrary, TheSensorReadsTheFirstOutputOfACardAndDestroysTheLibraryAtTheEnd) {
    StandIn standIn(CALIDUS_STANDIN_ADL);
    standIn.script("standInAdl", oneCardOfTwoOutputs());
    testing::FakeMachine machine;
    testing::FakeClock clock(machine);
    LinuxLibraryLoader loader;
    AdlSharedLibrary adl(loader, CALIDUS_STANDIN_ADL);
    std::unique_ptr<AtiSensor> sensor = AtiSensor::create(adl, clock);
    ASSERT_NE(sensor, nullptr);
    EXPECT_EQ(sensor->adapterCount(), 2);
    EXPECT_EQ(sensor->adapterName(1), "AMD Radeon HD 7900 Series");
    EXPECT_EQ(sensor->temperature(0), 64);
    EXPECT_EQ(sensor->temperature(1), AtiSensor::kNotRead);
    AdlActivity activity;
    ASSERT_TRUE(sensor->activity(0, activity));
    EXPECT_EQ(activity.engineClock, 92500);
    EXPECT_EQ(activity.memoryClock, 137500);
    EXPECT_EQ(activity.vddc, 1170);
    EXPECT_EQ(activity.currentBusLanes, 16);

    standIn.release();
    sensor.reset();
    EXPECT_EQ(journal.back(), "ADL_Main_Control_Destroy");
    EXPECT_FALSE(mapped(CALIDUS_STANDIN_ADL));
}

TEST(AdlSharedLibrary, AFailingStartOrAMissingEntryLeavesNoSource) {
    testing::FakeMachine machine;
    testing::FakeClock clock(machine);
    for (const char* library : {CALIDUS_STANDIN_ADL, CALIDUS_STANDIN_NVML}) {
        StandIn standIn(CALIDUS_STANDIN_ADL);
        StandInAdlScript script = oneCardOfTwoOutputs();
        script.createStatus = -1;
        standIn.script("standInAdl", script);
        LinuxLibraryLoader loader;
        AdlSharedLibrary adl(loader, library);
        EXPECT_EQ(AtiSensor::create(adl, clock), nullptr) << library;
        standIn.release();
        EXPECT_FALSE(mapped(CALIDUS_STANDIN_ADL)) << library;
        EXPECT_FALSE(mapped(CALIDUS_STANDIN_NVML)) << library;
    }
}

// Two amdgpu cards beside an Intel one and a connector, as /sys/class/drm lists them.
void amdgpuTree(const testing::TempFolder& sys) {
    sys.put("class/drm/card0/device/uevent", "DRIVER=amdgpu\nPCI_CLASS=30000\nPCI_ID=1002:73BF\n");
    sys.put("class/drm/card0/device/hwmon/hwmon3/temp1_input", "61000\n");
    sys.put("class/drm/card0/device/hwmon/hwmon3/in0_input", "1125\n");
    sys.put("class/drm/card0/device/pp_dpm_sclk", "0: 500Mhz\n1: 2100Mhz *\n2: 2500Mhz\n");
    sys.put("class/drm/card0/device/pp_dpm_mclk", "0: 96Mhz *\n1: 1000Mhz\n");
    sys.put("class/drm/card0/device/current_link_width", "16\n");
    sys.put("class/drm/card0-DP-1/status", "connected\n");
    sys.put("class/drm/card1/device/uevent", "DRIVER=i915\nPCI_ID=8086:3E92\n");
    sys.put("class/drm/card10/device/uevent", "DRIVER=amdgpu\nPCI_ID=1002:687F\n");
    sys.put("class/drm/card10/device/product_name", "Radeon RX Vega\n");
    sys.put("class/drm/card10/device/hwmon/hwmon5/temp1_input", "48000\n");
}

TEST(LinuxAdlLibrary, TheLibraryWhenItLoadsElseTheKernelDriversFiles) {
    testing::TempFolder sys;
    amdgpuTree(sys);
    testing::FakeMachine machine;
    testing::FakeClock clock(machine);
    struct Case {
        const char* library;
        std::vector<std::string> names;
        std::vector<int> temperatures;
    };
    const Case cases[] = {
        {CALIDUS_STANDIN_ADL,
         {"AMD Radeon HD 7900 Series", "AMD Radeon HD 7900 Series"},
         {64, AtiSensor::kNotRead}},
        // The display library's name not found: the amdgpu files are read instead.
        {"libatiadlxx-absent.so", {"1002:73BF", "Radeon RX Vega"}, {61, 48}},
    };
    for (const Case& c : cases) {
        StandIn standIn(CALIDUS_STANDIN_ADL);
        standIn.script("standInAdl", oneCardOfTwoOutputs());
        LinuxLibraryLoader loader;
        LinuxAdlLibrary adl(loader, c.library, sys.path());
        std::unique_ptr<AtiSensor> sensor = AtiSensor::create(adl, clock);
        ASSERT_NE(sensor, nullptr) << c.library;
        std::vector<std::string> names;
        std::vector<int> temperatures;
        for (int adapter = 0; adapter < sensor->adapterCount(); ++adapter) {
            names.push_back(sensor->adapterName(adapter));
            temperatures.push_back(sensor->temperature(adapter));
        }
        EXPECT_EQ(names, c.names) << c.library;
        EXPECT_EQ(temperatures, c.temperatures) << c.library;
    }
}

TEST(AmdgpuFiles, ActivityComesFromTheMarkedClockLevelsTheVoltageAndTheLinkWidth) {
    testing::TempFolder sys;
    amdgpuTree(sys);
    AmdgpuFiles files(sys.path());
    ASSERT_TRUE(files.load());
    AdlActivity activity;
    ASSERT_EQ(files.activity(0, activity), 0);
    EXPECT_EQ(activity.engineClock, 210000);
    EXPECT_EQ(activity.memoryClock, 9600);
    EXPECT_EQ(activity.vddc, 1125);
    EXPECT_EQ(activity.currentBusLanes, 16);
    ASSERT_EQ(files.activity(1, activity), 0);
    EXPECT_EQ(activity.engineClock, 0);
    EXPECT_FALSE(AmdgpuFiles(sys.path() / "nothing").load());
}

}  // namespace
}  // namespace calidus
