#include "tools/SpecificationLookup.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

TEST(SpecificationLookup, CaptionAndSearchAddress) {
    EXPECT_EQ(specFinderCaption("Core i7-920", 0x106A5),
              "Intel Core i7-920 Spec Finder\nCPUID String: 106A5h");
    EXPECT_EQ(specFinderCaption("-----", 0x6FB), "Intel ----- Spec Finder\nCPUID String: 6FBh");
    EXPECT_EQ(specificationSearchAddress("Core i7-920"),
              std::string(kSpecificationSearch) + "i7-920");
    EXPECT_EQ(specificationSearchAddress("-----"), std::string(kSpecificationSearch) + "-----");
    EXPECT_EQ(specificationSearchAddress("Xeon X5670"),
              std::string(kSpecificationSearch) + "Xeon X5670");
    // Every occurrence goes, and the text is not encoded otherwise.
    EXPECT_EQ(specificationSearchAddress("Core 2 Duo Core E8400"),
              std::string(kSpecificationSearch) + "2 Duo E8400");
}

}  // namespace
}  // namespace calidus
