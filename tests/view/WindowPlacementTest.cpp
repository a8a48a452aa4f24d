#include "view/WindowPlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace calidus {
namespace {

const std::vector<Monitor> kOneMonitor{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};

TEST(WindowPlacement, SettingTheAnchorTwiceAtOnePlaceReportsTheCurrentPosition) {
    AnchorState state;
    const ScreenRect window{300, 120, 612, 500};
    EXPECT_EQ(setAnchorPosition(state, window, false, {}),
              "Previous Position\n( 0, 0 )\n\nNew Position\n( 300, 120 )\n");
    EXPECT_EQ(state.anchor, (ScreenPoint{300, 120}));
    EXPECT_EQ(setAnchorPosition(state, window, false, {}), "Current Position\n( 300, 120 )\n");
    EXPECT_EQ(state.previous, (ScreenPoint{300, 120}));
    EXPECT_EQ(setAnchorPosition(state, window.translated(-310, 5), false, {}),
              "Previous Position\n( 300, 120 )\n\nNew Position\n( -10, 125 )\n");
}

TEST(WindowPlacement, MoveToAnchorUndoesTheShiftsOfSetting) {
    const ScreenRect window{300, 120, 612, 500};
    for (const DesktopTraits desktop :
         {DesktopTraits{}, DesktopTraits{true, false}, DesktopTraits{false, true}}) {
        for (const bool mini : {false, true}) {
            AnchorState state;
            setAnchorPosition(state, window, mini, desktop);
            EXPECT_EQ(anchorTarget(state, window.translated(700, 300), mini, desktop), window);
        }
    }
    AnchorState composed;
    setAnchorPosition(composed, window, false, {true, false});
    EXPECT_EQ(composed.anchor, (ScreenPoint{295, 115}));
    AnchorState legacy;
    setAnchorPosition(legacy, window, true, {false, true});
    EXPECT_EQ(legacy.anchor, (ScreenPoint{301, 120}));
}

TEST(WindowPlacement, SavedPositionIsAppliedOnlyWhenTheWindowStaysReachable) {
    const ScreenRect current{50, 60, 362, 440};
    // 0x20202020: (32, 32).
    EXPECT_EQ(placeFromSavedPosition(538976288, current, kOneMonitor, {}, false),
              (ScreenRect{32, 32, 344, 412}));
    // Nothing saved decodes far off the screen.
    EXPECT_EQ(placeFromSavedPosition(0, current, kOneMonitor, {}, false), std::nullopt);
    // A position on a monitor that is gone, and the same one while that monitor is there: the
    // target is judged by the work area it lands on, not by the one the window starts on.
    EXPECT_EQ(placeFromSavedPosition(packPosition({2500, 100}), current, kOneMonitor, {}, false),
              std::nullopt);
    std::vector<Monitor> twoMonitors = kOneMonitor;
    twoMonitors.push_back({{1920, 0, 3840, 1200}, {1920, 0, 3840, 1200}});
    EXPECT_EQ(placeFromSavedPosition(packPosition({2500, 900}), current, twoMonitors, {}, false),
              (ScreenRect{2500, 900, 2812, 1280}));
    // Composition borders are put back around the saved corner.
    EXPECT_EQ(
        placeFromSavedPosition(packPosition({-5, -5}), current, kOneMonitor, {true, false}, false),
        (ScreenRect{0, 0, 312, 380}));
    // The XL edition never puts the window at exactly (0, 0).
    EXPECT_EQ(placeFromSavedPosition(packPosition({0, 0}), current, kOneMonitor, {}, true),
              (ScreenRect{0, 1, 312, 381}));
    EXPECT_EQ(placeFromSavedPosition(packPosition({0, 0}), current, kOneMonitor, {}, false),
              (ScreenRect{0, 0, 312, 380}));
}

}  // namespace
}  // namespace calidus
