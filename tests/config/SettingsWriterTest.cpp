#include "config/SettingsWriter.h"

#include <gtest/gtest.h>

#include "config/SaveProblem.h"

#include <string>

#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

constexpr std::string_view kBrand = "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz";

SaveContext twoCores() {
    SaveContext context;
    context.processor = {kBrand, 0x106A5, true};
    context.slotPresent = {true, true, false, false, false, false, false, false};
    context.cores.tjMax = {100, 105, 90, 90, 90, 90, 90, 90};
    context.cores.idle = {15, -20, 7, 0, 0, 0, 0, 0};
    return context;
}

StartupInputs sameProcessor() {
    StartupInputs inputs;
    inputs.processor = {kBrand, 0x106A5, true};
    return inputs;
}

std::vector<std::string> keysInOrder(const std::string& contents) {
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start < contents.size()) {
        const std::size_t end = contents.find('\n', start);
        const std::string line = contents.substr(start, end - start);
        if (line.find('=') != std::string::npos) {
            keys.push_back(line.substr(0, line.find('=')));
        }
        start = end + 1;
    }
    return keys;
}

TEST(SettingsWriter, OkWritesEveryKeyInItsOrderAndReadsBackTheSame) {
    TempFolder folder;
    const auto path = folder / "Calidus.ini";
    Settings settings;
    settings.fahrenheit = true;
    settings.quality = 3;
    settings.alarm1 = 200;
    settings.alarm2 = 212;  // what it reads back as without a GPU source
    settings.guiColor = 0x123456;
    settings.iconTextColor[1] = 0x0000FF;
    settings.alarmFile = "/usr/bin/notify me";
    settings.clockMod = 24;
    settings.logInterval = 7200;
    settings.customGUIMini = true;
    settings.miniHeading = true;
    settings.tmLoad = true;
    settings.iconShow = IconShow(3);
    ASSERT_TRUE(saveSettings(path, Edition::standard(), settings, twoCores()));

    const std::string contents = TempFolder::read(path);
    EXPECT_EQ(keysInOrder(contents), (std::vector<std::string>{"Spec",
                                                               "RivaFile",
                                                               "IconTextColor0",
                                                               "Idle0",
                                                               "TjMax0",
                                                               "IconTextColor1",
                                                               "Idle1",
                                                               "TjMax1",
                                                               "IconShow",
                                                               "StartMinimized",
                                                               "TaskBar",
                                                               "OnTop",
                                                               "TrayInfo",
                                                               "LogFile",
                                                               "LogInterval",
                                                               "Alarm",
                                                               "Alarm1",
                                                               "Alarm2",
                                                               "CSV",
                                                               "AlarmFile",
                                                               "MinimizeOnClose",
                                                               "ClockMod",
                                                               "GUIColor",
                                                               "GUIMiniColor",
                                                               "GUIText",
                                                               "GUIMiniText",
                                                               "GUINormHead",
                                                               "GUIMiniHead",
                                                               "NormHeading",
                                                               "MiniHeading",
                                                               "TMLoad",
                                                               "CustomGUI",
                                                               "CustomGUIMini",
                                                               "CPUID",
                                                               "Quality",
                                                               "ThreeDigit",
                                                               "GPU",
                                                               "Fahrenheit"}));
    EXPECT_NE(contents.find("Idle0=1.5\nTjMax0=100\n"), std::string::npos);
    EXPECT_NE(contents.find("Idle1=-2.0\nTjMax1=105\n"), std::string::npos);
    EXPECT_NE(contents.find("IconTextColor1=0x0000FF\n"), std::string::npos);
    EXPECT_NE(contents.find("CPUID=0x106A5\n"), std::string::npos);

    const StartupSettings back =
        loadSettings(ProfileFile::load(path), Edition::standard(), sameProcessor());
    EXPECT_FALSE(back.processorChanged);
    EXPECT_EQ(back.cores.tjMax[1], 105);
    EXPECT_EQ(back.cores.idle[0], 15);
    EXPECT_EQ(back.cores.idle[1], -20);
    settings.spec = kBrand;
    settings.cpuid = 0x106A5;
    EXPECT_EQ(back.settings, settings);
}

TEST(SettingsWriter, OkWritesEditionGpuAndProcessorDependentKeys) {
    TempFolder folder;
    const auto path = folder / "CalidusXL.ini";
    SaveContext context = twoCores();
    context.processor.platformInfoClass = false;
    context.gpu = {.ati = true, .nvidia = true};
    Settings settings;
    settings.bold = 200;
    settings.fontNumber = 2;
    settings.iconTextColor[8] = 0x00FF00;
    ASSERT_TRUE(saveSettings(path, Edition::xl(), settings, context));
    const ProfileFile file = ProfileFile::load(path);
    EXPECT_EQ(file.readText("Calidus", "IconTextColor8"), "0x00FF00");
    EXPECT_EQ(file.readText("Calidus", "VIDInfo"), "0");
    EXPECT_EQ(file.readText("Calidus", "GPU"), "3");
    EXPECT_EQ(file.readText("Calidus", "Bold"), "200");
    EXPECT_EQ(file.readText("Calidus", "FontNumber"), "2");
    EXPECT_FALSE(file.find("Calidus", "IconTextColor4"));
    EXPECT_FALSE(file.find("Calidus", "Idle2"));
}

TEST(SettingsWriter, OkKeepsThePluginConfigurationInStep) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "RivaTuner" / "PlugIns" / "Monitoring");
    Settings settings;
    settings.rivaFile = (folder / "RivaTuner" / "RivaTuner.exe").string();
    const auto config = folder / "RivaTuner" / "PlugIns" / "Monitoring" / "CLCore.cfg";
    SaveContext asRoot = twoCores();
    asRoot.pluginAllowed = false;
    ASSERT_TRUE(saveSettings(folder / "Calidus.ini", Edition::standard(), settings, asRoot));
    EXPECT_FALSE(std::filesystem::exists(config));

    SaveContext context = twoCores();
    context.pluginAllowed = true;
    ASSERT_TRUE(saveSettings(folder / "Calidus.ini", Edition::standard(), settings, context));
    EXPECT_EQ(TempFolder::read(config),
              "[Calidus]\nIdle0=1.5\nTjMax0=100\nIdle1=-2.0\nTjMax1=105\n");

    EXPECT_FALSE(pluginConfigPath("/opt/RivaTuner/rivatuner.exe"));
    EXPECT_FALSE(pluginConfigPath(""));
}

TEST(SettingsWriter, ExitWritesPlacementModeIconsAndTheRawClockModulation) {
    TempFolder folder;
    const auto path = folder / "Calidus.ini";
    TempFolder::write(path, "[Calidus]\r\nFahrenheit=1\r\nWindowXY=538976288\r\nHandMade=yes\r\n");
    ExitState state;
    state.miniMode = true;
    state.iconShow = IconShow(0x13);
    state.clockModulationRegister = 0xFFFFFFFF;
    ASSERT_TRUE(saveOnExit(path, state));
    EXPECT_EQ(TempFolder::read(path),
              "[Calidus]\r\nFahrenheit=1\r\nWindowXY=538976288\r\nHandMade=yes\r\nMiniMode=1\r\n"
              "IconShow=19\r\nClockMod=-1\r\n");
    EXPECT_EQ(loadSettings(ProfileFile::load(path), Edition::standard(), {}).settings.clockMod, 2u);

    state.windowTopLeft = ScreenPoint{37, 37};
    state.compositionShift = true;
    state.previousAnchor = ScreenPoint{1, 0};
    state.anchor = ScreenPoint{-100, 20};
    state.clockModulationRegister.reset();  // unreadable: the stored value stays
    ASSERT_TRUE(saveOnExit(path, state));
    const ProfileFile file = ProfileFile::load(path);
    EXPECT_EQ(file.readInt("Calidus", "WindowXY", 0), 538976288);
    EXPECT_EQ(unpackPosition(file.readInt("Calidus", "AnchorXY", 0)), (ScreenPoint{-100, 20}));
    EXPECT_EQ(file.readInt("Calidus", "ClockMod", 0), -1);
}

TEST(SettingsWriter, FontChoiceAndFailedWritesLeaveTheFileConsistent) {
    TempFolder folder;
    const auto path = folder / "Calidus.ini";
    const TrayFontKeys font{.lfHeight = -16,
                            .lfWidth = 0,
                            .lfWeight = 700,
                            .lfItalic = 1,
                            .lfCharSet = 0,
                            .lfPitchAndFamily = 2,
                            .lfFaceName = "DejaVu Sans"};
    ASSERT_TRUE(saveFont(path, font));
    EXPECT_EQ(loadTrayFont(ProfileFile::load(path)).font, font);

    const std::string before = TempFolder::read(path);
    const WriteStep stopHalfWay = [](std::ostream& out, std::string_view contents) {
        out.write(contents.data(), static_cast<std::streamsize>(contents.size() / 2));
        return false;
    };
    EXPECT_FALSE(saveSettings(path, Edition::standard(), Settings{}, twoCores(), stopHalfWay));
    EXPECT_FALSE(saveOnExit(path, ExitState{}, stopHalfWay));
    EXPECT_EQ(TempFolder::read(path), before);
    EXPECT_EQ(folder.entries(), 1);

    ASSERT_TRUE(saveAtiSensorKeys(path, {.pollInterval = 30, .disableSensor = true}));
    const AtiSensorKeys ati = readAtiSensorKeys(ProfileFile::load(path));
    EXPECT_EQ(ati.pollInterval, 30);
    EXPECT_TRUE(ati.disableSensor);
}

// A full disk cannot be made here; its result is what the platform's replace gives for ENOSPC.
TEST(SettingsWriter, AFailedSaveSaysWhatFailedAndWhatToDo) {
    TempFolder folder;
    const auto readOnly = folder / "Calidus.ini";
    TempFolder::write(readOnly, "[Calidus]\n");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    const auto aFolder = folder / "CalidusXL.ini";
    std::filesystem::create_directory(aFolder);
    const std::string at = folder.path().string();
    struct Case {
        std::filesystem::path file;
        ReplaceResult result;
        std::string text;
    };
    const Case cases[] = {
        {readOnly, saveOnExit(readOnly, ExitState{}),
         "the settings could not be saved to " + readOnly.string() +
             ": it is read-only, or its file system is\nTo save them, make it writable (chmod "
             "u+w " +
             readOnly.string() + ") to keep the settings; the file is as it was."},
        {aFolder, saveOnExit(aFolder, ExitState{}),
         "the settings could not be saved to " + aFolder.string() +
             ": a folder or another non-file is in its place\nTo save them, move that away so "
             "that a settings file can be made there; the file is as it was."},
        {readOnly,
         {ReplaceFailure::DiskFull, "No space left on device"},
         "the settings could not be saved to " + readOnly.string() +
             ": the disk is full (no space or no inode left)\nTo save them, free some space on "
             "the disk of " +
             at + "; the file is as it was."},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.result) << c.text;
        EXPECT_EQ(saveProblemText(c.file, c.result), c.text);
    }
    EXPECT_EQ(TempFolder::read(readOnly), "[Calidus]\n");
}

}  // namespace
}  // namespace calidus
