#include "view/MainWindowLayout.h"

#include <gtest/gtest.h>

#include <set>

#include "view/AboutContent.h"

namespace calidus {
namespace {

TEST(MainWindowLayout, EveryControlIsUniqueAndInsideTheDialog) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        const MainWindowLayout& layout = mainWindowLayout(*edition);
        std::set<int> ids;
        for (const ControlSpec& c : layout.controls) {
            EXPECT_TRUE(ids.insert(c.id).second) << c.id;
            EXPECT_GE(c.rect.x, 0) << c.id;
            EXPECT_LE(c.rect.x + c.rect.width, layout.width) << c.id;
            EXPECT_LE(c.rect.y + c.rect.height, layout.height) << c.id;
        }
        EXPECT_EQ(layout.columns(), edition->maxCores);
        for (const auto* column :
             {&layout.temperature, &layout.distance, &layout.minimum, &layout.minimumTime,
              &layout.maximum, &layout.maximumTime, &layout.status}) {
            ASSERT_EQ(static_cast<int>(column->size()), layout.columns());
            for (int id : *column) {
                EXPECT_NE(layout.find(id), nullptr) << id;
            }
        }
        for (int id : headingBoxes()) {
            ASSERT_NE(layout.find(id), nullptr);
            EXPECT_EQ(layout.find(id)->kind, ControlKind::GroupBox);
        }
        // The compact form is the full width of the dialog and shows the top 123 pixels; the
        // bottom edge uncovers the rest.
        EXPECT_EQ(toPixelsAcross(layout.width), layout.miniClientWidth);
        EXPECT_EQ(toPixelsDown(layout.height), layout.miniClientHeight + 257);
    }
}

TEST(MainWindowLayout, DialogUnitsBecomeTahomaPixels) {
    const PixelRect r = toPixels({9, 53, 42, 15});
    EXPECT_EQ(r.x, 14);
    EXPECT_EQ(r.y, 86);
    EXPECT_EQ(r.width, 63);
    EXPECT_EQ(r.height, 25);  // edges are converted, not the size
    EXPECT_EQ(toPixelsAcross(208), 312);
    EXPECT_EQ(toPixelsAcross(274), 411);
    const MainWindowLayout& xl = mainWindowLayout(Edition::xl());
    EXPECT_EQ(xl.find(control::kGpuButton)->rect.x, 3);
    EXPECT_FALSE(xl.find(control::kSignature)->initiallyHidden);
    EXPECT_TRUE(mainWindowLayout(Edition::standard()).find(control::kSignature)->initiallyHidden);
}

TEST(AboutContent, EditionsDifferInTitleRetailerAndCredits) {
    const AboutContent standard = aboutContent(Edition::standard());
    const AboutContent xl = aboutContent(Edition::xl());
    EXPECT_EQ(standard.productLine, "Calidus 3.59.6");
    EXPECT_EQ(xl.productLine, "Calidus XL 3.59");
    EXPECT_EQ(standard.dateLine, xl.dateLine);
    EXPECT_TRUE(standard.retailerButton);
    EXPECT_FALSE(xl.retailerButton);
    EXPECT_EQ(xl.creditLines.size(), standard.creditLines.size() + 1);
}

}  // namespace
}  // namespace calidus
