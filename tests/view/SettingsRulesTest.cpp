#include <gtest/gtest.h>

#include "view/SettingsFieldRules.h"
#include "view/SettingsPending.h"

namespace calidus {
namespace {

TEST(SettingsFields, TypedValuesAreCorrected) {
    const struct {
        const char* typed;
        const char* shown;
    } calibrations[] = {{"12", "9.9"},     {"-30", "-19.9"}, {"abc", "0.0"},   {"0.05", "0.1"},
                        {"-0.05", "-0.1"}, {" 2.5x", "2.5"}, {"-1.96", "-2.0"}};
    for (const auto& c : calibrations) {
        EXPECT_EQ(calibrationText(calibrationTenths(c.typed)), c.shown) << c.typed;
    }
    const struct {
        const char* typed;
        int kept;
    } tjMax[] = {{"65", 70}, {"130", 120}, {"95", 95}, {"", 70}, {"99999999999999999999", 120}};
    for (const auto& c : tjMax) {
        EXPECT_EQ(correctedTjMax(c.typed), c.kept) << c.typed;
    }
    const struct {
        long long typed;
        int kept;
    } seconds[] = {{7, 8}, {13, 12}, {1000, 960}, {50, 50}, {0, 1}, {100000, 86400}, {-4, 1}};
    for (const auto& c : seconds) {
        EXPECT_EQ(correctedLogSeconds(c.typed), c.kept) << c.typed;
    }
}

TEST(SettingsFields, DutySpinWrapsBothWaysAndKeepsTheEnableBit) {
    EXPECT_EQ(steppedDuty(14, true), 2u);
    EXPECT_EQ(steppedDuty(2, false), 14u);
    EXPECT_EQ(steppedDuty(0x10 | 14, true), 0x10u | 2);
    EXPECT_EQ(steppedDuty(0x10 | 8, false), 0x10u | 6);
    EXPECT_EQ(dutyText(steppedDuty(14, true)), "12.5 %");
    EXPECT_EQ(dutyText(steppedDuty(2, false)), "87.5 %");
    EXPECT_EQ(dutyText(dutyAtOpening(0)), "50.0 %");
    EXPECT_EQ(dutyAtOpening(0x18), 8u);
    EXPECT_EQ(qualityText(Edition::standard(), steppedQuality(1, false)), "No AA");
    EXPECT_EQ(qualityText(Edition::xl(), 0), "No Anti-Alias");
    EXPECT_EQ(qualityText(Edition::xl(), steppedQuality(3, true)), "Natural");
}

TEST(SettingsFields, WindowGoesBesideTheMainWindowOnTheRoomierSide) {
    const ScreenRect screen{0, 0, 1280, 800};
    // Main window on the left half: to its right, centred on it, never above the screen.
    EXPECT_EQ(settingsWindowPlacement({100, 100, 412, 480}, 364, 560, screen, false),
              (ScreenRect{412, 10, 776, 570}));
    EXPECT_EQ(settingsWindowPlacement({100, 0, 412, 380}, 364, 560, screen, false).top, 0);
    // On the right half, with composition: 10 pixels off its left edge; lifted off the foot.
    EXPECT_EQ(settingsWindowPlacement({900, 500, 1212, 880}, 364, 560, screen, true),
              (ScreenRect{526, 195, 890, 755}));
}

TEST(SettingsPending, OpeningDefaultsAndApply) {
    Settings values;
    values.iconShow = IconShow(0);
    values.taskBar = false;
    values.fahrenheit = true;
    values.alarm = values.logFile = values.onTop = true;
    LiveSettings live(Edition::standard(), values);
    CoreCalibration cores;
    cores.defaultTjMax = {95, 95, 95, 95, 100, 100, 100, 100};
    cores.idle = {15, -20, 3, 3, 3, 0, 0, 0};
    const std::array<bool, 8> dualCore{true, true};

    SettingsPending pending =
        SettingsPending::open(Edition::standard(), live, cores, dualCore, 0x1C);
    // No tray icon: "Task Bar" is on at once and stays on.
    EXPECT_TRUE(values.taskBar);
    EXPECT_TRUE(pending.taskBarForced);
    EXPECT_EQ(pending.values.clockMod, 0x1Cu);

    pending.restoreDefaults(Edition::standard(), false, true);
    EXPECT_EQ(pending.cores.idle[1], 0);
    EXPECT_EQ(pending.cores.idle[2], 3);  // no core there
    EXPECT_EQ(pending.cores.tjMax[0], 95);
    EXPECT_EQ(pending.values.alarm1, 203);  // 95 °C in the display unit
    EXPECT_EQ(pending.values.alarm2, 0);
    EXPECT_EQ(pending.values.clockMod, 8u);
    EXPECT_TRUE(pending.values.taskBar);
    EXPECT_TRUE(values.alarm);  // only apply takes them

    pending.apply(Edition::standard(), live, cores);
    EXPECT_FALSE(values.alarm);
    EXPECT_FALSE(values.onTop);
    EXPECT_EQ(values.logInterval, 5);
    EXPECT_EQ(values.clockMod, 8u);
    EXPECT_EQ(cores.idle[0], 0);
    EXPECT_EQ(cores.idle[2], 3);

    SettingsPending xl = SettingsPending::open(Edition::xl(), live, cores, dualCore, 0);
    xl.restoreDefaults(Edition::xl(), false, true);
    EXPECT_EQ(xl.values.clockMod, 2u);
    EXPECT_EQ(xl.values.alarm2, 194);
}

}  // namespace
}  // namespace calidus
