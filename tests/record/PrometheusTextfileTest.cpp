#include "record/PrometheusTextfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "app/EngineRig.h"
#include "config/AtomicFileWriter.h"
#include "platform/sim/SimAdlLibrary.h"
#include "platform/sim/SimNvidiaLibrary.h"
#include "record/PrometheusText.h"

namespace calidus {
namespace {

using testing::EngineRig;
using testing::TempFolder;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

bool has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A card of each vendor, at 58 and 61 degrees Celsius.
void addGpus(EngineRig& rig) {
    MachineDescription machine;
    for (const auto& [vendor, celsius] : {std::pair{GpuVendor::Nvidia, 58}, {GpuVendor::Ati, 61}}) {
        GpuDescription gpu;
        gpu.vendor = vendor;
        gpu.temperatures = {celsius};
        machine.gpus.push_back(gpu);
    }
    machine.nvidiaLibrary = machine.atiLibrary = GpuLibraryState::Present;
    rig.platform.nvidia = std::make_unique<SimNvidiaLibrary>(machine);
    rig.platform.adl = std::make_unique<SimAdlLibrary>(machine);
}

// A Fahrenheit run on the fake i7-920 (TjMax 100, every sensor 55 below it; core 1 hotter and
// at its limit) still exports degrees Celsius, for every metric and both editions' labels.
TEST(PrometheusTextfile, EveryMetricInBaseUnitsWithHelpTypeAndLabels) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineRig rig(*edition, "Fahrenheit=1\nAlarm=1\nAlarm1=100\nAlarm2=200\nGPU=3\n");
        addGpus(rig);
        TempFolder exportFolder;
        std::vector<std::string> problems;
        rig.engine = std::make_unique<Engine>(
            *edition, rig.platform, rig.desktop, rig.desktop,
            EngineSettings{.file = rig.settings.file,
                           .prometheus = TextfileTarget{
                               .folder = exportFolder.path(),
                               .report = [&](const std::string& p) { problems.push_back(p); }}});
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        const int core1 = std::countr_zero(rig.engine->configuration().coreMap.coreMask[1]);
        rig.machine.setMsr(core1, 0x19C, 0x88320003);
        rig.machine.now = 1'700'000'000;
        rig.engine->runTick();

        const std::string name = edition->isXL() ? "calidusxl.prom" : "calidus.prom";
        const std::vector<std::string> lines =
            linesOf(TempFolder::read(exportFolder.path() / name));
        const std::string label = edition->isXL() ? "edition=\"xl\"" : "edition=\"standard\"";
        const std::vector<std::string> expected = {
            "# TYPE calidus_core_temperature_celsius gauge",
            "calidus_core_temperature_celsius{core=\"0\"," + label + "} 45",
            "calidus_core_temperature_celsius{core=\"1\"," + label + "} 50",
            "calidus_core_distance_to_tjmax_celsius{core=\"0\"," + label + "} 55",
            "calidus_core_tjmax_celsius{core=\"1\"," + label + "} 100",
            "calidus_core_temperature_min_celsius{core=\"1\"," + label + "} 50",
            "calidus_core_temperature_max_celsius{core=\"0\"," + label + "} 45",
            "calidus_core_thermal_status{core=\"1\"," + label + "} 1",
            "calidus_core_thermal_log{core=\"0\"," + label + "} 0",
            "calidus_alarm_active{" + label + "} 1",  // 122 °F against 100 °F
            "calidus_last_tick_timestamp_seconds{" + label + "} 1700000000",
            "calidus_gpu_temperature_celsius{source=\"ati\"," + label + "} 61",
            "calidus_gpu_temperature_celsius{source=\"nvidia\"," + label + "} 58",
            "# TYPE calidus_core_clock_hertz gauge",  // no sample before the clock is calibrated
            "calidus_load_ratio{" + label + "} 0.000",
        };
        for (const std::string& line : expected) {
            EXPECT_TRUE(has(lines, line)) << edition->programName << ": " << line;
        }
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].starts_with("# HELP ")) {
                ASSERT_LT(i + 1, lines.size());
                EXPECT_TRUE(lines[i + 1].starts_with("# TYPE " + lines[i].substr(7, 10)));
            }
        }
        EXPECT_TRUE(lines.back().starts_with("calidus_info{model=\"" + rig.engine->texts().model +
                                             "\",signature=\""));
        EXPECT_TRUE(problems.empty());
    }
}

TEST(PrometheusTextfile, ClockInHertzAndLoadAsARatio) {
    MonitorState state;
    state.clock = {.clockKnown = true, .coreMHz = 2933.34, .load = 15.1};
    const std::vector<std::string> lines =
        linesOf(prometheusText(Edition::standard(), state, {}, {}, GpuSources{}));
    EXPECT_TRUE(has(lines, "calidus_core_clock_hertz{edition=\"standard\"} 2933340000"));
    EXPECT_TRUE(has(lines, "calidus_load_ratio{edition=\"standard\"} 0.151"));
    EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("calidus_gpu_temperature_celsius{");
    }));
}

// The collector never sees half a file, and a folder that stays unwritable is said once.
TEST(PrometheusTextfile, AFailedWriteKeepsThePreviousFileAndIsReportedOnce) {
    TempFolder folder;
    std::vector<std::string> problems;
    bool fail = false;
    PrometheusTextfile textfile(
        Edition::standard(),
        {.folder = folder.path(), .report = [&](const std::string& p) { problems.push_back(p); }},
        [&](const std::filesystem::path& file, std::string_view text) {
            const WriteStep halfWay = [](std::ostream& out, std::string_view contents) {
                out << contents.substr(0, contents.size() / 2);
                return false;
            };
            return static_cast<bool>(fail ? writeFileAtomically(file, text, halfWay)
                                          : writeFileAtomically(file, text));
        });
    textfile.publish("calidus_alarm_active 0\n");
    fail = true;
    textfile.publish("calidus_alarm_active 1\n");
    textfile.publish("calidus_alarm_active 1\n");
    EXPECT_EQ(TempFolder::read(textfile.file()), "calidus_alarm_active 0\n");
    EXPECT_EQ(problems.size(), 1u);
    fail = false;
    textfile.publish("calidus_alarm_active 1\n");
    fail = true;
    textfile.publish("calidus_alarm_active 0\n");
    EXPECT_EQ(problems.size(), 2u);  // a new failure after a good write is news again

    EXPECT_EQ(textfileFolderProblem(folder.path()), "");
    EXPECT_NE(textfileFolderProblem(folder.path() / "missing"), "");
    EXPECT_NE(textfileFolderProblem(textfile.file()), "");  // a file is no folder
}

}  // namespace
}  // namespace calidus
