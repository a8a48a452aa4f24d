#include "view/HoverHitTest.h"

#include <gtest/gtest.h>

#include "common/Edition.h"
#include "view/MainWindowLayout.h"

namespace calidus {
namespace {

constexpr ExtremeRow kMin = ExtremeRow::Minimum;
constexpr ExtremeRow kMax = ExtremeRow::Maximum;

TEST(HoverHitTest, FourColumnsFollowTheClientWidth) {
    // w 312: c 156, e 80.
    EXPECT_EQ(hoverHitFourColumns(7, 182, 312), (HoverHit{0, kMin}));
    EXPECT_EQ(hoverHitFourColumns(6, 182, 312), std::nullopt);
    EXPECT_EQ(hoverHitFourColumns(77, 231, 312), (HoverHit{0, kMin}));
    EXPECT_EQ(hoverHitFourColumns(78, 200, 312), std::nullopt);
    EXPECT_EQ(hoverHitFourColumns(83, 247, 312), (HoverHit{1, kMax}));
    EXPECT_EQ(hoverHitFourColumns(153, 296, 312), (HoverHit{1, kMax}));
    EXPECT_EQ(hoverHitFourColumns(158, 296, 312), std::nullopt);
    EXPECT_EQ(hoverHitFourColumns(159, 296, 312), (HoverHit{2, kMax}));
    EXPECT_EQ(hoverHitFourColumns(232, 200, 312), (HoverHit{2, kMin}));
    EXPECT_EQ(hoverHitFourColumns(233, 200, 312), (HoverHit{3, kMin}));
    EXPECT_EQ(hoverHitFourColumns(304, 200, 312), (HoverHit{3, kMin}));
    EXPECT_EQ(hoverHitFourColumns(305, 200, 312), std::nullopt);
    // Between the rows and outside them.
    EXPECT_EQ(hoverHitFourColumns(40, 181, 312), std::nullopt);
    EXPECT_EQ(hoverHitFourColumns(40, 232, 312), std::nullopt);
    EXPECT_EQ(hoverHitFourColumns(40, 246, 312), std::nullopt);
    EXPECT_EQ(hoverHitFourColumns(40, 297, 312), std::nullopt);
}

TEST(HoverHitTest, SixColumnsMatchTheFieldsOfTheirColumn) {
    const MainWindowLayout& layout = mainWindowLayout(Edition::xl());
    for (int column = 0; column < layout.columns(); ++column) {
        const PixelRect field = toPixels(layout.find(layout.minimum[column])->rect);
        const int centre = field.x + field.width / 2;
        EXPECT_EQ(hoverHitSixColumns(centre, 200), (HoverHit{column, kMin})) << column;
        EXPECT_EQ(hoverHitSixColumns(field.x, 260), (HoverHit{column, kMax})) << column;
        EXPECT_EQ(hoverHitSixColumns(field.x + field.width, 260), (HoverHit{column, kMax}))
            << column;
        // The gap before the column's field belongs to no column.
        EXPECT_EQ(hoverHitSixColumns(field.x - 5, 200), std::nullopt) << column;
    }
    EXPECT_EQ(hoverHitSixColumns(405, 200), std::nullopt);
    EXPECT_EQ(hoverHitSixColumns(100, 240), std::nullopt);
}

}  // namespace
}  // namespace calidus

namespace calidus {
namespace {

TEST(HoverHitTest, DateTextIsMonthAndTwoDigitDay) {
    std::tm when{};
    when.tm_mon = 8;
    when.tm_mday = 3;
    EXPECT_EQ(hoverDateText(when), "Sep 03");
    when.tm_mon = 11;
    when.tm_mday = 31;
    EXPECT_EQ(hoverDateText(when), "Dec 31");
}

}  // namespace
}  // namespace calidus
