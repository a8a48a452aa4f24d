#include "view/DisplayTexts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "common/Text.h"

namespace calidus {
namespace {

// A desktop session sets the C library's numeric locale; a German one writes "25,0".
class CommaDecimalLocale {
  public:
    CommaDecimalLocale() : before_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~CommaDecimalLocale() { std::setlocale(LC_ALL, before_.c_str()); }
    bool active() const { return active_; }

  private:
    std::string before_;
    bool active_ = false;
};

TEST(DisplayTexts, NumbersKeepTheirDecimalPointInACommaDecimalLocale) {
    const CommaDecimalLocale german;
    if (!german.active()) {
        GTEST_SKIP()
            << "the de_DE.UTF-8 locale is not installed (scripts/install-deps installs it)";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 2.5);
    ASSERT_EQ(std::string(probe), "2,5");  // the locale really is in force

    struct Case {
        double value;
        int decimals;
        int width;
        std::string text;
    };
    for (const Case& c : {Case{2666.666, 2, 0, "2666.67"}, Case{7.25, 1, 5, "  7.2"},
                          Case{100.0, 1, 5, "100.0"}, Case{0.0, 4, 0, "0.0000"}}) {
        EXPECT_EQ(fixedText(c.value, c.decimals, c.width), c.text) << c.value;
    }
    EXPECT_EQ(clockModulationCaption(0x14), "Clock Modulation  25.0%");
    EXPECT_EQ(clockModulationCaption(0x1E), "Clock Modulation  87.5%");
    EXPECT_EQ(clockModulationCaption(kNoClockModulationField), "Thermal Status");
}

}  // namespace
}  // namespace calidus
