#include "platform/linux/CoretempSensors.h"

#include <gtest/gtest.h>

#include "platform/KernelSensorDriver.h"
#include "platform/linux/CpufreqClock.h"
#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

// Two cores with two threads each on package 1, a processor whose core has no sensor, and a
// hwmon of another driver that also says "Core 0".
void layOut(const TempFolder& sys) {
    const auto cpu = [&](int n, int package, int core) {
        const std::string topology = "devices/system/cpu/cpu" + std::to_string(n) + "/topology/";
        sys.put(topology + "physical_package_id", std::to_string(package) + "\n");
        sys.put(topology + "core_id", std::to_string(core) + "\n");
    };
    cpu(0, 1, 0);
    cpu(1, 1, 4);
    cpu(2, 1, 0);
    cpu(3, 1, 4);
    cpu(4, 1, 8);
    sys.put("devices/system/cpu/cpu0/cpufreq/scaling_cur_freq", "1600000\n");
    sys.put("devices/system/cpu/cpu1/cpufreq/scaling_cur_freq", "2801500\n");
    sys.put("devices/system/cpu/cpu2/cpufreq/scaling_cur_freq", "fast\n");
    sys.put("class/hwmon/hwmon3/name", "coretemp\n");
    sys.put("class/hwmon/hwmon3/temp1_label", "Package id 1\n");
    sys.put("class/hwmon/hwmon3/temp1_input", "61000\n");
    sys.put("class/hwmon/hwmon3/temp2_label", "Core 0\n");
    sys.put("class/hwmon/hwmon3/temp2_input", "57000\n");
    sys.put("class/hwmon/hwmon3/temp2_crit", "100000\n");
    sys.put("class/hwmon/hwmon3/temp2_crit_alarm", "0\n");
    sys.put("class/hwmon/hwmon3/temp6_label", "Core 4\n");
    sys.put("class/hwmon/hwmon3/temp6_input", "101000\n");
    sys.put("class/hwmon/hwmon3/temp6_crit", "100000\n");
    sys.put("class/hwmon/hwmon3/temp6_crit_alarm", "1\n");
    sys.put("class/hwmon/hwmon0/name", "acpitz\n");
    sys.put("class/hwmon/hwmon0/temp1_label", "Core 8\n");
    sys.put("class/hwmon/hwmon0/temp1_input", "20000\n");
    sys.put("class/hwmon/hwmon0/temp1_crit", "90000\n");
}

TEST(CoretempSensors, EachProcessorReadsItsCoresSensorAsATemperatureStatus) {
    TempFolder sys;
    layOut(sys);
    const CoretempSensors sensors(sys.path());
    ASSERT_TRUE(sensors.found());
    EXPECT_EQ(sensors.read(2)->input, 57000);
    EXPECT_EQ(sensors.read(3)->input, 101000);
    EXPECT_TRUE(sensors.read(1)->criticalAlarm);
    EXPECT_FALSE(sensors.read(4));  // only another driver's sensor names its core
    EXPECT_FALSE(sensors.read(9));
    EXPECT_FALSE(CoretempSensors(sys / "elsewhere").found());

    KernelSensorDriver driver([&](std::uint32_t p) { return sensors.read(p); },
                              [&](std::uint32_t p) { return cpufreqClockMHz(sys.path(), p); });
    struct Case {
        std::uint32_t processor;
        std::uint32_t index;
        bool ok;
        std::uint32_t low;
    };
    const Case cases[] = {
        {0, 0x19C, true, 0x80000000 | 43 << 16},
        {3, 0x19C, true, 0x80000000 | 0x3},  // over the limit: status and log bits
        {2, 0x1A2, true, 100 << 16},
        {0, 0x19A, false, 7},
        {0, 0x38D, false, 7},
        {4, 0x19C, false, 7},
    };
    for (const Case& c : cases) {
        std::uint32_t low = 7;
        std::uint32_t high = 7;
        EXPECT_EQ(driver.readMsr(c.processor, c.index, low, high), c.ok)
            << c.processor << " " << c.index;
        EXPECT_EQ(low, c.low) << c.processor << " " << c.index;
    }
    EXPECT_FALSE(driver.writeMsr(0, 0x19A, 0, 0));
    EXPECT_TRUE(driver.readOnly());
    const std::pair<std::uint32_t, double> clocks[] = {
        {0, 1600.0}, {1, 2801.5}, {2, 0.0}, {3, 0.0}};
    for (const auto& [processor, mhz] : clocks) {
        EXPECT_EQ(driver.kernelClockMHz(processor), mhz) << processor;
    }
}

}  // namespace
}  // namespace calidus
