#include "view/TrayMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/TrayFakes.h"
#include "view/TrayNumberText.h"

namespace calidus {
namespace {

using testing::FakeTrayHost;
using testing::FakeTrayWindow;

struct MenuRig {
    MonitorState state;
    RunConfiguration config;
    DisplayTexts displayTexts;
    Settings settings;
    LiveSettings live{Edition::standard(), settings};
    FakeTrayHost host;
    FakeTrayWindow window;
    TrayIcons icons{Edition::standard(), host, state, config, displayTexts, live, [](auto) {}};
    TrayMenu menu{live, icons, window};

    std::uint32_t mask() const { return settings.iconShow.bits(); }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const TrayMenuItem& item : menu.items()) {
            out.push_back(item.separator ? "-"
                                         : std::string(item.text) + (item.checked ? "*" : ""));
        }
        return out;
    }
};

TEST(TrayMenu, ItemsFollowTheValueKindAndTheWindowState) {
    MenuRig rig;
    rig.settings.iconShow = IconShow(1);
    EXPECT_EQ(rig.texts(),
              (std::vector<std::string>{"Core Temperature*", "Distance to TJ Max", "-", "Current*",
                                        "Minimum", "Maximum", "Average", "-", "Reset (Min/Max)",
                                        "-", "Redraw Icons", "Move to Top Right", "-", "Minimize",
                                        "Exit", "-", "History"}));

    rig.settings.iconShow = IconShow(1 | IconShow::kDistance | IconShow::kMaximum);
    rig.window.restored = false;
    const std::vector<std::string> minimized = rig.texts();
    EXPECT_EQ(minimized[0], "Core Temperature");
    EXPECT_EQ(minimized[1], "Distance to TJ Max*");
    EXPECT_EQ(minimized[3], "Current");
    EXPECT_EQ(minimized[5], "Maximum*");
    EXPECT_EQ((std::vector<std::string>(minimized.end() - 5, minimized.end())),
              (std::vector<std::string>{"Minimize", "Restore", "Exit", "-", "History"}));

    rig.window.visible = false;
    const std::vector<std::string> hidden = rig.texts();
    EXPECT_EQ((std::vector<std::string>(hidden.end() - 4, hidden.end())),
              (std::vector<std::string>{"Restore", "Exit", "-", "History"}));
}

TEST(TrayMenu, CommandsChangeTheMaskOrActOnTheWindow) {
    MenuRig rig;
    rig.settings.iconShow = IconShow(0b11 | IconShow::kMinimum | IconShow::kAverage);
    rig.menu.run(TrayCommand::Maximum);
    EXPECT_EQ(rig.mask(), 0b11 | IconShow::kMaximum);
    rig.menu.run(TrayCommand::DistanceToTjMax);
    rig.menu.run(TrayCommand::Current);
    EXPECT_EQ(rig.mask(), 0b11 | IconShow::kDistance);
    rig.menu.run(TrayCommand::CoreTemperature);
    EXPECT_EQ(rig.mask(), 0b11u);

    for (TrayCommand command :
         {TrayCommand::ResetStatistics, TrayCommand::MoveToTopRight, TrayCommand::Minimize,
          TrayCommand::Restore, TrayCommand::Exit, TrayCommand::History}) {
        rig.menu.run(command);
    }
    EXPECT_EQ(rig.window.calls,
              (std::vector<std::string>{"resetStatistics", "moveToTopRight", "minimizeFromMenu",
                                        "restore", "quit", "openHistory"}));
}

TEST(TrayMenu, DoubleClickMinimizesARestoredWindowAndRestoresAnyOther) {
    MenuRig rig;
    rig.menu.doubleClick();
    rig.window.restored = false;
    rig.menu.doubleClick();
    rig.window.visible = false;
    rig.menu.doubleClick();
    EXPECT_EQ(rig.window.calls, (std::vector<std::string>{"minimize", "restore", "restore"}));
}

TEST(TrayNumberText, TwoDigitsUnlessThreeAreAllowed) {
    EXPECT_EQ(trayNumberText(99, false), "99");
    EXPECT_EQ(trayNumberText(100, false), "00");
    EXPECT_EQ(trayNumberText(105, false), "05");
    EXPECT_EQ(trayNumberText(112, false), "12");
    EXPECT_EQ(trayNumberText(105, true), "105");
    EXPECT_EQ(trayNumberText(-3, false), "-3");
    EXPECT_EQ(trayNumberText(0, false), "0");
}

TEST(TrayWindow, TopRightTargetMeetsTheWorkAreasCorner) {
    const ScreenRect window{100, 200, 400, 560};
    const ScreenRect work{0, 30, 1920, 1080};
    EXPECT_EQ(topRightTarget(window, work, false, {}), (ScreenRect{1620, 30, 1920, 390}));
    EXPECT_EQ(topRightTarget(window, work, false, {.invisibleBorders = true}),
              (ScreenRect{1615, 35, 1915, 395}));
    EXPECT_EQ(topRightTarget(window, work, true, {.invisibleBorders = true}),
              (ScreenRect{1620, 30, 1920, 390}));
}

}  // namespace
}  // namespace calidus
