#include "ui/NumberIcon.h"

#include <gtest/gtest.h>

#include <QColor>
#include <vector>

#include "ui/TrayTestApp.h"

namespace calidus {
namespace {

constexpr ColourRef kRed = 0x0000FF;  // 0x00BBGGRR
const QSize kIcon(16, 16);

class NumberIconTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { testing::ensureApplication(); }

    QImage render(int value, bool threeDigit = false, int height = -13, int quality = 0) {
        TrayFontKeys keys;
        keys.lfHeight = height;
        return renderNumberImage(value, threeDigit, kRed, trayFont(keys, quality), kIcon);
    }
};

bool columnHasInk(const QImage& image, int x) {
    for (int y = 0; y < image.height(); ++y) {
        if (qAlpha(image.pixel(x, y)) != 0) {
            return true;
        }
    }
    return false;
}

// The inked column runs from left to right: one per glyph.
struct GlyphRun {
    int left;
    int right;
    int top;
    int bottom;
};

std::vector<GlyphRun> glyphRuns(const QImage& image) {
    std::vector<GlyphRun> runs;
    bool inRun = false;
    for (int x = 0; x < image.width(); ++x) {
        if (!columnHasInk(image, x)) {
            inRun = false;
            continue;
        }
        if (!inRun) {
            runs.push_back({x, x, image.height(), -1});
            inRun = true;
        }
        GlyphRun& run = runs.back();
        run.right = x;
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                run.top = std::min(run.top, y);
                run.bottom = std::max(run.bottom, y);
            }
        }
    }
    return runs;
}

// Every pixel is either fully transparent or the slot's colour, fully opaque.
void expectOnlySlotColourOnTransparent(const QImage& image, const char* what) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                continue;
            }
            ++ink;
            EXPECT_EQ(pixel, qRgba(255, 0, 0, 255)) << what << " at " << x << "," << y;
        }
    }
    EXPECT_GT(ink, 10) << what;
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << what;
    EXPECT_EQ(qAlpha(image.pixel(15, 15)), 0) << what;
}

TEST_F(NumberIconTest, DrawsTheTwoDigitsOfTheTrayRuleInTheSlotColour) {
    struct Case {
        int value;
        bool threeDigit;
        std::size_t glyphs;
    };
    for (const Case& c : {Case{99, false, 2}, Case{100, false, 2}, Case{105, false, 2},
                          Case{112, false, 2}, Case{-3, false, 2}, Case{5, false, 1}}) {
        const QImage image = render(c.value, c.threeDigit);
        ASSERT_EQ(image.size(), kIcon);
        const std::string what = std::to_string(c.value);
        expectOnlySlotColourOnTransparent(image, what.c_str());
        EXPECT_EQ(glyphRuns(image).size(), c.glyphs) << what;
    }
    EXPECT_EQ(render(112), render(12));  // the hundreds are dropped
    EXPECT_NE(render(105), render(5));   // but a leading zero is kept
    EXPECT_NE(render(100), render(0));
}

TEST_F(NumberIconTest, NegativeNumbersCarryTheirSign) {
    const std::vector<GlyphRun> runs = glyphRuns(render(-3));
    ASSERT_EQ(runs.size(), 2u);
    // The sign is a short bar beside a full-height digit.
    EXPECT_LE(runs[0].bottom - runs[0].top, 2);
    EXPECT_GE(runs[1].bottom - runs[1].top, 6);
}

TEST_F(NumberIconTest, ThreeDigitsKeepTheHundredsWhenTheFontLetsThemFit) {
    const QImage three = render(105, true, -9);
    expectOnlySlotColourOnTransparent(three, "three-digit 105");
    EXPECT_EQ(glyphRuns(three).size(), 3u);
    EXPECT_EQ(glyphRuns(render(105, false, -9)).size(), 2u);
}

TEST_F(NumberIconTest, AntiAliasedDigitsFadeOnlyInTheSlotColour) {
    // A family whose stems cover whole pixels at this size.
    TrayFontKeys keys;
    keys.lfFaceName = "DejaVu Sans";
    const QImage image = renderNumberImage(88, false, kRed, trayFont(keys, 1), kIcon)
                             .convertToFormat(QImage::Format_ARGB32);
    int solid = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 255) {
                ++solid;
                EXPECT_EQ(pixel, qRgba(255, 0, 0, 255));
            } else if (qAlpha(pixel) > 64) {
                EXPECT_GE(qRed(pixel), 200);
                EXPECT_LE(qGreen(pixel) + qBlue(pixel), 30);
            }
        }
    }
    EXPECT_GT(solid, 0);
}

// Panels of 16, 22 and 24 pixel icons, in each common family: both digits drawn apart, neither
// cut, and at least half the icon tall.
TEST_F(NumberIconTest, TheDigitsStayWholeAndLegibleAtTheCommonPanelSizes) {
    for (const char* family : {"DejaVu Sans", "Noto Sans", "Liberation Sans"}) {
        QFont font = trayFont(TrayFontKeys{}, 0);
        font.setFamilies({QString::fromLatin1(family)});
        const QIcon icon = renderNumberIcon(88, false, kRed, font);
        for (const int side : {16, 22, 24}) {
            const QImage image = icon.pixmap(QSize(side, side)).toImage();
            const std::string what = std::string(family) + " " + std::to_string(side);
            ASSERT_EQ(image.size(), QSize(side, side)) << what;
            const std::vector<GlyphRun> runs = glyphRuns(image);
            ASSERT_EQ(runs.size(), 2u) << what;
            // Centred digits wider than the icon would be cut on both sides.
            EXPECT_FALSE(runs.front().left == 0 && runs.back().right == side - 1) << what;
            for (const GlyphRun& run : runs) {
                EXPECT_GT(run.top, 0) << what;
                EXPECT_LT(run.bottom, side - 1) << what;
                EXPECT_GE(2 * (run.bottom - run.top + 1), side) << what;
            }
        }
    }
}

}  // namespace
}  // namespace calidus
