#include "view/WorkArea.h"

#include <gtest/gtest.h>

#include <vector>

namespace calidus {
namespace {

const ScreenRect kWork{0, 0, 1920, 1040};

TEST(WorkArea, OffScreenNeedsFivePixelsOnEverySide) {
    EXPECT_FALSE(isOffScreen({100, 100, 412, 480}, kWork));
    // Right edge of the work area: 5 pixels left is enough, 4 is not.
    EXPECT_FALSE(isOffScreen({1915, 100, 2227, 480}, kWork));
    EXPECT_TRUE(isOffScreen({1916, 100, 2228, 480}, kWork));
    // Left edge: the window's right edge must be 5 pixels inside.
    EXPECT_FALSE(isOffScreen({-307, 100, 5, 480}, kWork));
    EXPECT_TRUE(isOffScreen({-308, 100, 4, 480}, kWork));
    // Top edge: its bottom must be 5 pixels below the top.
    EXPECT_FALSE(isOffScreen({100, -375, 412, 5}, kWork));
    EXPECT_TRUE(isOffScreen({100, -376, 412, 4}, kWork));
    // Bottom edge: any top above the work area's bottom will do.
    EXPECT_FALSE(isOffScreen({100, 1039, 412, 1419}, kWork));
    EXPECT_TRUE(isOffScreen({100, 1040, 412, 1420}, kWork));
    // The same rules relative to a second monitor's work area.
    EXPECT_TRUE(isOffScreen({100, 100, 412, 480}, {1920, 0, 3840, 1080}));
}

TEST(WorkArea, NearestMonitorByOverlapThenByDistance) {
    const std::vector<Monitor> monitors{
        {{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
        {{1920, 0, 3840, 1080}, {1920, 30, 3840, 1080}},
    };
    // Mostly on the second monitor.
    EXPECT_EQ(nearestWorkArea({1800, 10, 2100, 300}, monitors), monitors[1].workArea);
    // Mostly on the first.
    EXPECT_EQ(nearestWorkArea({1700, 10, 2000, 300}, monitors), monitors[0].workArea);
    // Below both, nearer the second.
    EXPECT_EQ(nearestWorkArea({3000, 1200, 3300, 1500}, monitors), monitors[1].workArea);
    // Left of both.
    EXPECT_EQ(nearestWorkArea({-900, 10, -600, 300}, monitors), monitors[0].workArea);
    EXPECT_EQ(nearestWorkArea({0, 0, 10, 10}, {}), ScreenRect{});
}

}  // namespace
}  // namespace calidus
