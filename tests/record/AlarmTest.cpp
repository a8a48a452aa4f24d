#include <gtest/gtest.h>

#include <algorithm>

#include "app/EngineRig.h"
#include "app/TickReport.h"
#include "record/AlarmSettings.h"

namespace calidus {
namespace {

using testing::EngineRig;
using testing::TempFolder;

constexpr std::uint32_t kThermStatus = 0x19C;

// Core 0 (logical processor 0) at this temperature below TjMax 100.
void setCore0(EngineRig& rig, int celsius) {
    rig.machine.setMsr(0, kThermStatus, 0x88000000u | (std::uint64_t(100 - celsius) << 16));
}

long count(const std::vector<std::string>& calls, std::string_view call) {
    return std::count(calls.begin(), calls.end(), call);
}

struct Ticks {
    std::vector<std::uint64_t> sounds;  // the tick counts at which the sound played
    std::vector<bool> alarmInJson;
};

Ticks runTicks(EngineRig& rig, int ticks) {
    Ticks seen;
    std::string line;
    for (int i = 0; i < ticks; ++i) {
        const std::size_t played = rig.machine.soundsPlayed.size();
        rig.engine->runTick();
        if (rig.machine.soundsPlayed.size() != played) {
            seen.sounds.push_back(rig.engine->state().tickCount);
        }
        writeTickJson(*rig.engine, line);
        seen.alarmInJson.push_back(line.find("\"alarm\":true") != std::string::npos);
    }
    return seen;
}

TEST(Alarm, TenHotTicksFlashTenTimesSoundTwiceAndStartTheProgramOnce) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        EngineRig rig(*edition, "Alarm=1\nAlarm1=80\nAlarmFile=/opt/tools/alarm.sh\n");
        TempFolder::write(rig.settings.folder / "CLWarning.wav", "RIFF");
        ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
        EXPECT_TRUE(std::ranges::none_of(runTicks(rig, 4).alarmInJson, std::identity{}));

        setCore0(rig, 81);
        const Ticks hot = runTicks(rig, 10);  // ticks 5 to 14
        setCore0(rig, 45);
        const Ticks cool = runTicks(rig, 6);

        EXPECT_EQ(hot.sounds, (std::vector<std::uint64_t>{6, 12})) << edition->programName;
        EXPECT_TRUE(std::ranges::all_of(hot.alarmInJson, std::identity{}));
        EXPECT_TRUE(cool.sounds.empty());
        EXPECT_TRUE(std::ranges::none_of(cool.alarmInJson, std::identity{}));
        EXPECT_EQ(count(rig.desktop.calls, "flash"), 10);
        EXPECT_EQ(count(rig.desktop.calls, "restore"), 1);
        EXPECT_EQ(rig.machine.programsStarted, std::vector<std::string>{"/opt/tools/alarm.sh"});
        EXPECT_EQ(rig.machine.soundsPlayed[0], (rig.settings.folder / "CLWarning.wav").string());
    }
}

TEST(Alarm, FiresAtTheThresholdAndStaysLatchedUntilRearmed) {
    EngineRig rig(Edition::standard(), "Alarm=1\nAlarm1=80\nAlarmFile=/opt/tools/alarm.sh\n");
    rig.machine.launchOutcome = LaunchOutcome::NotFound;
    ASSERT_EQ(rig.engine->start().outcome, StartOutcome::Ready);
    setCore0(rig, 79);
    runTicks(rig, 3);
    EXPECT_TRUE(rig.machine.programsStarted.empty());

    setCore0(rig, 80);
    runTicks(rig, 3);
    rig.engine->resetStatistics();
    rig.engine->settings().set(KeyId::Alarm, false);
    runTicks(rig, 2);
    rig.engine->settings().set(KeyId::Alarm, true);
    runTicks(rig, 3);
    EXPECT_EQ(rig.machine.programsStarted.size(), 1u);
    EXPECT_EQ(count(rig.desktop.calls, "restore"), 1);
    EXPECT_EQ(count(rig.desktop.calls, "flash"), 6);
    EXPECT_EQ(count(rig.desktop.calls,
                    "message Error: Alarm file not found.\n\n"
                    "/opt/tools/alarm.sh   "),
              1);

    rig.machine.launchOutcome = LaunchOutcome::Failed;
    rig.engine->rearmAlarm();
    runTicks(rig, 2);
    EXPECT_EQ(rig.machine.programsStarted.size(), 2u);
    EXPECT_EQ(count(rig.desktop.calls, "restore"), 2);
    EXPECT_EQ(
        count(rig.desktop.calls,
              "problem Calidus: the alarm program /opt/tools/alarm.sh did not start: refused"),
        1);
}

TEST(AlarmSettings, ThresholdFieldsAreCorrectedInTheDisplayUnit) {
    struct Case {
        bool fahrenheit;
        int typed;
        int core;
        int gpu;
    };
    for (const Case& c :
         {Case{false, 100, 100, 100}, Case{false, 101, 100, 101}, Case{false, 106, 100, 105},
          Case{false, -5, 100, 105}, Case{true, 212, 212, 212}, Case{true, 250, 212, 221},
          Case{true, -5, 212, 221}, Case{true, 222, 212, 221}}) {
        Settings settings;
        settings.fahrenheit = c.fahrenheit;
        EXPECT_EQ(onCoreThresholdEdited(settings, c.typed), c.core) << c.typed;
        EXPECT_EQ(onGpuThresholdEdited(settings, c.typed), c.gpu) << c.typed;
        EXPECT_EQ(settings.alarm1, c.core);
        EXPECT_EQ(settings.alarm2, c.gpu);
    }
    Settings settings;
    const AlarmFieldsEnabled withoutGpu = onAlarmSwitch(settings, true, false);
    EXPECT_TRUE(settings.alarm);
    EXPECT_TRUE(withoutGpu.coreThreshold && withoutGpu.programPath && !withoutGpu.gpuThreshold);
    EXPECT_TRUE(onAlarmSwitch(settings, true, true).gpuThreshold);
    EXPECT_FALSE(onAlarmSwitch(settings, false, true).gpuThreshold);
    EXPECT_FALSE(settings.alarm);
}

TEST(AlarmSettings, OurOwnProgramsAreRefusedAsAlarmProgram) {
    const std::string standardRefusal =
        "The alarm can not be set to run a new instance of Calidus.\n";
    struct Case {
        std::optional<std::string> chosen;
        std::string path;
        bool refused;
    };
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        for (const Case& c :
             {Case{"/opt/calidus/Calidus", "", true}, Case{"/opt/calidus/CalidusXL", "", true},
              Case{"C:\\Tools\\Calidus.exe", "", true}, Case{"/home/me/CalidusXL.exe.sh", "", true},
              Case{"/opt/calidus/calidus", "/opt/calidus/calidus", false},
              Case{"C:\\Tools\\calidus.exe", "C:\\Tools\\calidus.exe", false},
              Case{"/opt/Calidus/alarm.sh", "/opt/Calidus/alarm.sh", false},
              Case{std::nullopt, "", false}}) {
            const AlarmProgramChoice choice = onChooseAlarmProgram(*edition, c.chosen);
            EXPECT_EQ(choice.path, c.path) << c.chosen.value_or("(cancel)");
            EXPECT_EQ(choice.refusal,
                      !c.refused ? "" : standardRefusal + (edition->isXL() ? "\n" : ""));
        }
    }
    EXPECT_EQ(alarmProgramChooser().title, "Open File to Run on Alarm");
}

}  // namespace
}  // namespace calidus
