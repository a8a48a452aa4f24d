#include "view/MiniModeGeometry.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

const ScreenRect kWork{0, 0, 1920, 1040};
const DesktopTraits kPlain{};
const DesktopTraits kComposition{.invisibleBorders = true};

TEST(MiniModeGeometry, EnteringCentresOnTheNormalWindowAndLeavingRestoresIt) {
    const ScreenRect normal{100, 200, 420, 610};  // 320 x 410
    const MiniEntry entry = enterMiniGeometry(normal, {312, 123}, kWork, kPlain);
    EXPECT_EQ(entry.normal, normal);
    EXPECT_EQ(entry.mini, (ScreenRect{104, 200, 416, 323}));

    const ScreenRect back = leaveMiniGeometry(entry.mini, entry.normal, kPlain);
    EXPECT_EQ(back, normal);

    // The compact window was dragged meanwhile: the normal one comes back centred on it.
    const ScreenRect moved = entry.mini.translated(300, 50);
    EXPECT_EQ(leaveMiniGeometry(moved, entry.normal, kPlain), normal.translated(300, 50));
}

TEST(MiniModeGeometry, CompositionBordersShiftTheCompactWindowUpAndBackDown) {
    const ScreenRect normal{100, 200, 420, 610};
    const MiniEntry entry = enterMiniGeometry(normal, {312, 123}, kWork, kComposition);
    // The visible frame starts 5 pixels inside the reported rectangle.
    EXPECT_EQ(entry.mini.top, 195);
    EXPECT_EQ(entry.normal, normal);
    const ScreenRect back = leaveMiniGeometry(entry.mini, entry.normal, kComposition);
    EXPECT_EQ(back.top, entry.mini.top + 5);
    EXPECT_EQ(back, normal);
}

TEST(MiniModeGeometry, AWindowAboveTheWorkAreaIsPulledDownUntilFivePixelsShow) {
    const ScreenRect normal{100, -300, 420, 110};
    const MiniEntry entry = enterMiniGeometry(normal, {312, 123}, kWork, kPlain);
    EXPECT_EQ(entry.mini.bottom, 5);
    EXPECT_EQ(entry.mini.height(), 123);
    // A work area that starts lower (a top panel) counts from its own top.
    const MiniEntry panel = enterMiniGeometry(normal, {411, 123}, {0, 40, 1920, 1080}, kPlain);
    EXPECT_EQ(panel.mini.bottom, 45);
    EXPECT_EQ(panel.mini.width(), 411);
    // Already visible enough: nothing moves.
    const MiniEntry low = enterMiniGeometry(normal.translated(0, 300), {312, 123}, kWork, kPlain);
    EXPECT_EQ(low.mini.top, 0);
}

TEST(MiniModeGeometry, OnlyTheBottomEdgeMovesWithin257Pixels) {
    const SizeLimits limits = miniSizeLimits({312, 123});
    EXPECT_EQ(limits.minimum, (WindowSize{312, 123}));
    EXPECT_EQ(limits.maximum, (WindowSize{312, 380}));
}

}  // namespace
}  // namespace calidus
