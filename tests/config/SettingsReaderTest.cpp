#include "config/SettingsReader.h"

#include <gtest/gtest.h>

#include <string>

#include "config/ScreenPosition.h"

namespace calidus {
namespace {

constexpr std::string_view kBrand = "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz";

StartupInputs i7(GpuSourcesRunning gpu = {}) {
    StartupInputs inputs;
    inputs.processor = {kBrand, 0x106A5, true};
    inputs.cores.tjMax = {100, 100, 100, 100, 95, 95, 95, 95};
    inputs.gpu = gpu;
    return inputs;
}

StartupSettings load(const Edition& edition, const std::string& keys,
                     const StartupInputs& inputs = i7()) {
    return loadSettings(ProfileFile::parse("[Calidus]\n" + keys), edition, inputs);
}

const std::string kSameProcessor = "Spec=" + std::string(kBrand) + "\nCPUID=0x106A5\n";

TEST(SettingsReader, AnAbsentFileGivesTheDefaultsOfEachEdition) {
    // °C, one tray icon, logging and alarms off at 100, 1000 ms, 5 s, the window's own colours.
    const StartupSettings standard = loadSettings({}, Edition::standard(), i7());
    EXPECT_EQ(standard.settings, Settings{});
    EXPECT_TRUE(standard.processorChanged);
    EXPECT_EQ(standard.cores.tjMax, i7().cores.tjMax);
    EXPECT_EQ(standard.cores.idle, (std::array<int, 8>{}));

    Settings xlDefaults;
    xlDefaults.alarm1 = 90;
    EXPECT_EQ(loadSettings({}, Edition::xl(), i7()).settings, xlDefaults);
}

TEST(SettingsReader, CorrectsIntervalsAndTheClockModulationValue) {
    const std::string keys = "LogInterval=7\nRefreshInterval=50\nHDWrite=0\nClockMod=31\n";
    const Settings bad = load(Edition::standard(), keys).settings;
    EXPECT_EQ(bad.logInterval, 5);
    EXPECT_EQ(bad.refreshInterval, 1000);
    EXPECT_EQ(bad.hdWrite, 1);
    EXPECT_EQ(bad.clockMod, 2u);

    const std::string good =
        "LogInterval=7200\nRefreshInterval=20000\nHDWrite=90000\nClockMod=24\n";
    const Settings kept = load(Edition::standard(), good).settings;
    EXPECT_EQ(kept.logInterval, 7200);
    EXPECT_EQ(kept.refreshInterval, 20000);
    EXPECT_EQ(kept.hdWrite, 86400);
    EXPECT_EQ(kept.clockMod, 24u);

    EXPECT_EQ(load(Edition::standard(), "ClockMod=-1\nHDWrite=-5\n").settings.clockMod, 2u);
    EXPECT_EQ(load(Edition::standard(), "HDWrite=-5\n").settings.hdWrite, 1);
    EXPECT_EQ(load(Edition::standard(), "LogInterval=-86400\n").settings.logInterval, 5);
    EXPECT_EQ(load(Edition::xl(), good).settings.refreshInterval, 1000);
}

// The tray font's arithmetic negates and scales these; unbounded, INT_MIN would overflow it.
TEST(SettingsReader, FontSizesAreBoundedWhereTheyAreRead) {
    struct Case {
        std::string keys;
        int height;
        int width;
    };
    for (const Case& c : {Case{"lfHeight=-2147483648\nlfWidth=21474837\n", -1000, 1000},
                          Case{"lfHeight=-16\nlfWidth=7\n", -16, 7}}) {
        const TrayFontKeys font = loadTrayFont(ProfileFile::parse("[Calidus]\n" + c.keys)).font;
        EXPECT_EQ(font.lfHeight, c.height) << c.keys;
        EXPECT_EQ(font.lfWidth, c.width) << c.keys;
    }
}

TEST(SettingsReader, AlarmsFollowTheUnitTheGpuAndTheEdition) {
    const GpuSourcesRunning nvidia{.ati = false, .nvidia = true};
    const Edition& standard = Edition::standard();
    EXPECT_EQ(load(standard, "Alarm1=150\n").settings.alarm1, 100);
    EXPECT_EQ(load(standard, "Alarm1=-3\n").settings.alarm1, 100);
    EXPECT_EQ(load(standard, "Alarm1=85\n").settings.alarm1, 85);
    EXPECT_EQ(load(standard, "Fahrenheit=1\n").settings.alarm1, 212);
    EXPECT_EQ(load(standard, "Fahrenheit=1\nAlarm1=250\n").settings.alarm1, 212);
    EXPECT_EQ(load(standard, "Alarm2=110\n", i7(nvidia)).settings.alarm2, 105);
    EXPECT_EQ(load(standard, "Alarm2=-1\n", i7(nvidia)).settings.alarm2, 105);
    EXPECT_EQ(load(standard, "Alarm2=80\n", i7(nvidia)).settings.alarm2, 80);
    EXPECT_EQ(load(standard, "Fahrenheit=1\nAlarm2=230\n", i7(nvidia)).settings.alarm2, 221);
    EXPECT_EQ(load(standard, "Alarm2=80\n").settings.alarm2, 100);
    EXPECT_EQ(load(standard, "Fahrenheit=1\nAlarm2=80\n").settings.alarm2, 212);

    const Edition& xl = Edition::xl();
    EXPECT_EQ(load(xl, "Fahrenheit=1\n").settings.alarm1, 90);
    EXPECT_EQ(load(xl, "Fahrenheit=1\nAlarm1=190\n").settings.alarm1, 100);
    EXPECT_EQ(load(xl, "Alarm2=110\n", i7(nvidia)).settings.alarm2, 105);
    EXPECT_EQ(load(xl, "Alarm2=80\n").settings.alarm2, 100);
}

TEST(SettingsReader, PerCoreKeysApplyOnlyToTheSameProcessor) {
    const std::string cores =
        "TjMax0=65\nTjMax1=110\nTjMax2=120\nTjMax3=121\nIdle0=1.25\n"
        "Idle1=-0.05\nIdle2=-25.0\nIdle3=9.9\nTjMax6=70\nIdle7=-2\n";
    const StartupSettings same = load(Edition::standard(), kSameProcessor + cores);
    EXPECT_FALSE(same.processorChanged);
    EXPECT_EQ(same.cores.tjMax, (std::array<int, 8>{100, 110, 120, 100, 95, 95, 95, 95}));
    EXPECT_EQ(same.cores.defaultTjMax[1], 100);
    EXPECT_EQ(same.cores.idle, (std::array<int, 8>{13, -1, 0, 99, 0, 0, 0, 0}));

    const StartupSettings xl = load(Edition::xl(), kSameProcessor + cores);
    EXPECT_EQ(xl.cores.tjMax[6], 70);
    EXPECT_EQ(xl.cores.idle[7], -20);

    // Blanks around the brand string do not make it another processor.
    StartupInputs padded = i7();
    const std::string paddedBrand = "   " + std::string(kBrand) + std::string("\0\0", 2);
    padded.processor.brandString = paddedBrand;
    EXPECT_FALSE(load(Edition::standard(), kSameProcessor, padded).processorChanged);

    for (const std::string& other :
         {"CPUID=0x106A5\n" + cores, "Spec=" + std::string(kBrand) + "\nCPUID=0x106A4\n" + cores,
          "Spec=Another\nCPUID=0x106A5\n" + cores}) {
        const StartupSettings changed = load(Edition::standard(), other);
        EXPECT_TRUE(changed.processorChanged) << other;
        EXPECT_EQ(changed.cores.tjMax[1], 100);
        EXPECT_EQ(changed.cores.idle[0], 0);
    }
}

TEST(SettingsReader, StartUpEffectsOfTheUnitSkullKillMHzAndPositions) {
    const Settings f = load(Edition::standard(), "Fahrenheit=1\nSkull=2\n").settings;
    EXPECT_TRUE(f.fahrenheit);
    EXPECT_EQ(f.skull, 2);
    EXPECT_EQ(load(Edition::standard(), "DegreeSymbolString=degrees F and more\n")
                  .settings.degreeSymbolString,
              "degrees F a");
    EXPECT_EQ(load(Edition::xl(), "Skull=2\nOldFormula=1\n").settings.skull, 0);
    EXPECT_EQ(load(Edition::xl(), "OldFormula=1\n").settings.oldFormula, 0);
    EXPECT_EQ(headingCpuNumberAfterUnitChange(ProfileFile::parse("[Calidus]\nSkull=3"),
                                              Edition::standard()),
              0);
    EXPECT_EQ(headingCpuNumberAfterUnitChange(ProfileFile::parse("[Calidus]\nSkull=2"),
                                              Edition::standard()),
              2);

    StartupInputs mobile = i7();
    mobile.killMHz = true;
    EXPECT_TRUE(load(Edition::standard(), "KillMHz=5\n").killMHz);
    EXPECT_FALSE(load(Edition::standard(), "KillMHz=29\n", mobile).killMHz);
    EXPECT_TRUE(load(Edition::standard(), "KillMHz=5\n", mobile).killMHz);
    EXPECT_FALSE(load(Edition::standard(), "").killMHz);
    EXPECT_FALSE(load(Edition::xl(), "KillMHz=5\n").killMHz);

    const StartupSettings placed =
        load(Edition::standard(), "WindowXY=538976288\nAnchorXY=538976224\n");
    EXPECT_EQ(unpackPosition(placed.settings.windowXY), (ScreenPoint{32, 32}));
    EXPECT_EQ(unpackPosition(placed.settings.anchorXY), (ScreenPoint{-32, 32}));
}

TEST(SettingsReader, GpuDependentKeysAndDisplayKeys) {
    const std::string keys =
        "IconShow=0x1F\nPollInterval=0\nDisableSensor=1\nVIDInfo=1\nMSRMulti=2\n"
        "IconTextColor4=0x0000FF\nIconTextColor8=0x00FF00\nGUIColor=0x1FFFFFF\n"
        "Quality=9\nFontNumber=4\nBold=1\nlfItalic=257\nlfFaceName=" +
        std::string(40, 'F') + "\n";
    const Settings none = load(Edition::standard(), keys).settings;
    EXPECT_EQ(none.iconShow, IconShow(0xF));
    EXPECT_EQ(none.pollInterval, 5);
    EXPECT_FALSE(none.disableSensor);
    EXPECT_FALSE(none.vidInfo);  // the i7 keeps its running time
    EXPECT_TRUE(none.msrMulti);
    EXPECT_EQ(none.iconTextColor[4], 0x0000FFu);
    EXPECT_EQ(none.guiColor, 0xFFFFFFu);
    EXPECT_EQ(none.quality, 3);
    EXPECT_EQ(none.fontNumber, 0);
    EXPECT_EQ(none.bold, 0);
    EXPECT_EQ(none.trayFont.lfItalic, 1);
    EXPECT_EQ(none.trayFont.lfFaceName, std::string(31, 'F'));
    EXPECT_EQ(load(Edition::standard(), "Quality=-2\n").settings.quality, 0);

    StartupInputs core2 = i7({.ati = true, .nvidia = false});
    core2.processor.platformInfoClass = false;
    const Settings ati = load(Edition::standard(), keys, core2).settings;
    EXPECT_EQ(ati.iconShow, IconShow(0x1F));
    EXPECT_EQ(ati.pollInterval, 5);
    EXPECT_TRUE(ati.disableSensor);
    EXPECT_TRUE(ati.vidInfo);

    const Settings xl = load(Edition::xl(), "IconShow=0x1FF\n" + keys).settings;
    EXPECT_EQ(xl.iconShow, IconShow(0xFF));
    EXPECT_EQ(xl.iconTextColor[8], 0x00FF00u);
    EXPECT_EQ(xl.fontNumber, 0);
    EXPECT_EQ(xl.bold, 200);
}

}  // namespace
}  // namespace calidus
