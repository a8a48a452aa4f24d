#include "view/WindowPlacement.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

const ScreenRect kWork{0, 0, 1920, 1040};

TEST(WindowPlacement, SettingTheAnchorTwiceAtOnePlaceReportsTheCurrentPosition) {
    AnchorState state;
    const ScreenRect window{300, 120, 612, 500};
    EXPECT_EQ(setAnchorPosition(state, window, false, {}),
              "Previous Position\n( 0, 0 )\n\nNew Position\n( 300, 120 )\n");
    EXPECT_TRUE(state.isSet());
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
    EXPECT_EQ(placeFromSavedPosition(538976288, current, kWork, {}, false),
              (ScreenRect{32, 32, 344, 412}));
    // Nothing saved decodes far off the screen.
    EXPECT_EQ(placeFromSavedPosition(0, current, kWork, {}, false), std::nullopt);
    // A position on a monitor that is gone.
    EXPECT_EQ(placeFromSavedPosition(packPosition({2500, 100}), current, kWork, {}, false),
              std::nullopt);
    // Composition borders are put back around the saved corner.
    EXPECT_EQ(placeFromSavedPosition(packPosition({-5, -5}), current, kWork, {true, false}, false),
              (ScreenRect{0, 0, 312, 380}));
    // The XL edition never puts the window at exactly (0, 0).
    EXPECT_EQ(placeFromSavedPosition(packPosition({0, 0}), current, kWork, {}, true),
              (ScreenRect{0, 1, 312, 381}));
    EXPECT_EQ(placeFromSavedPosition(packPosition({0, 0}), current, kWork, {}, false),
              (ScreenRect{0, 0, 312, 380}));
}

}  // namespace
}  // namespace calidus
