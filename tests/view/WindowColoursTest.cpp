#include "view/WindowColours.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

TEST(WindowColours, CustomSchemeHeadingsAndStatusFields) {
    const ColourScheme plain{};
    EXPECT_EQ(controlColours(ControlRole::Value, plain, {}).background, std::nullopt);
    EXPECT_EQ(controlColours(ControlRole::Heading, plain, {}).text, std::nullopt);

    const ColourScheme custom{.custom = true,
                              .background = 0x102030,
                              .text = 0x00FF00,
                              .heading = true,
                              .headingColour = 0xFF0000};
    const ControlColours value = controlColours(ControlRole::Value, custom, {});
    EXPECT_EQ(value.background, 0x102030u);
    EXPECT_EQ(value.text, 0x00FF00u);
    EXPECT_EQ(controlColours(ControlRole::Heading, custom, {}).text, 0xFF0000u);
    // The header box never takes the heading colour.
    EXPECT_EQ(controlColours(ControlRole::HeaderBox, custom, {}).text, 0x00FF00u);

    // Heading colour on its own, without custom colours.
    const ColourScheme headingOnly{.heading = true, .headingColour = 0x0000AA};
    EXPECT_EQ(controlColours(ControlRole::Heading, headingOnly, {}).text, 0x0000AAu);
    EXPECT_EQ(controlColours(ControlRole::Heading, headingOnly, {}).background, std::nullopt);

    // Status fields: red with both bits, dark red with the log bit only, else the scheme.
    EXPECT_EQ(controlColours(ControlRole::Status, custom, {true, true}).text, kStatusRed);
    EXPECT_EQ(controlColours(ControlRole::Status, custom, {false, true}).text, kStatusDarkRed);
    EXPECT_EQ(controlColours(ControlRole::Status, custom, {true, false}).text, 0x00FF00u);
    EXPECT_EQ(controlColours(ControlRole::Status, plain, {true, false}).text, std::nullopt);
}

}  // namespace
}  // namespace calidus
