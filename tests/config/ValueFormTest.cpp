#include "config/ValueForm.h"

#include <gtest/gtest.h>

#include "config/ProfileFile.h"
#include "config/ScreenPosition.h"
#include "config/SettingsPath.h"
#include "cpu/TjMaxSelection.h"

namespace calidus {
namespace {

TEST(ValueForm, ProfileIntegersFollowTheProfileRule) {
    EXPECT_EQ(parseProfileInt("", 7), 7);
    EXPECT_EQ(parseProfileInt("x", 7), 0);
    EXPECT_EQ(parseProfileInt("+15", 7), 15);
    EXPECT_EQ(parseProfileInt("-15", 7), -15);
    EXPECT_EQ(parseProfileInt("0x", 7), 0);
    EXPECT_EQ(parseProfileInt("0XfF", 7), 255);
    EXPECT_EQ(parseProfileInt("-0x10", 7), -16);
    EXPECT_EQ(parseProfileInt("4294967295", 7), -1);
    EXPECT_EQ(parseProfileInt("99999999999999999999", 7),
              parseProfileInt("99999999999999999999", 0));
}

TEST(ValueForm, TenthsAreWrittenWithAPointAndReadBackExactly) {
    EXPECT_EQ(formatTenths(15), "1.5");
    EXPECT_EQ(formatTenths(-20), "-2.0");
    EXPECT_EQ(formatTenths(-5), "-0.5");
    for (int tenths = -199; tenths <= 99; ++tenths) {
        EXPECT_EQ(idleTenths(formatTenths(tenths)), tenths);
    }
}

TEST(ValueForm, ColoursAndPositionsRoundTrip) {
    for (const std::uint32_t colour : {0x000000u, 0xF4F3EEu, 0x0000FFu, 0xFFFFFFu}) {
        EXPECT_EQ(static_cast<std::uint32_t>(parseProfileInt(formatColour(colour), 0)), colour);
    }
    EXPECT_EQ(formatColour(0x0000FF), "0x0000FF");
    EXPECT_EQ(formatHex(0x106A5), "0x106A5");

    EXPECT_EQ(unpackPosition(538976288), (ScreenPoint{32, 32}));
    EXPECT_EQ(packPosition({32, 32}), 538976288);
    for (const ScreenPoint point : {ScreenPoint{-8192, -8192}, ScreenPoint{57343, 57343},
                                    ScreenPoint{-1920, 1080}, ScreenPoint{0, 0}}) {
        EXPECT_EQ(unpackPosition(packPosition(point)), point);
    }
}

TEST(ValueForm, SettingsPathIsNeverTheProgramItself) {
    EXPECT_EQ(settingsPathFor("/opt/calidus/Calidus"), "/opt/calidus/Calidus.ini");
    EXPECT_EQ(settingsPathFor("C:/Tools/CalidusXL.exe"), "C:/Tools/CalidusXL.ini");
    EXPECT_EQ(settingsPathFor("/opt/tools.exe/Calidus"), "/opt/tools.exe/Calidus.ini");
    EXPECT_EQ(settingsPathFor("/opt/Calidus.ini"), "/opt/Calidus.ini.ini");
}

}  // namespace
}  // namespace calidus
