#include "view/SettingsFieldRules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>

#include "common/Text.h"
#include "config/ValueForm.h"

namespace calidus {

namespace {

constexpr double kLowestCalibration = -19.9;
constexpr double kHighestCalibration = 9.9;
constexpr int kLowestTjMax = 70;
constexpr int kHighestTjMax = 120;
constexpr long long kSecondsPerDay = 86400;
constexpr std::uint32_t kLowestDuty = 2;
constexpr std::uint32_t kHighestDuty = 14;
constexpr std::uint32_t kHalfDuty = 8;
constexpr int kHighestQuality = 3;
constexpr int kScreenFootMargin = 45;
constexpr int kCompositionGap = 10;

std::string_view skipLeadingBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

int calibrationTenths(std::string_view text) {
    text = skipLeadingBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value < kLowestCalibration) {
        value = kLowestCalibration;
    } else if (value > kHighestCalibration) {
        value = kHighestCalibration;
    }
    return static_cast<int>(value >= 0 ? value * 10 + 0.5 : value * 10 - 0.5);
}

std::string calibrationText(int tenths) {
    return formatTenths(tenths);
}

int correctedTjMax(std::string_view text) {
    text = trimBlanks(text);
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range || value > kHighestTjMax) {
        return kHighestTjMax;
    }
    return value < kLowestTjMax ? kLowestTjMax : static_cast<int>(value);
}

int correctedLogSeconds(long long typed) {
    if (typed > kSecondsPerDay) {
        return static_cast<int>(kSecondsPerDay);
    }
    if (typed < 1) {
        return 1;
    }
    long long below = typed;
    while (kSecondsPerDay % below != 0) {
        --below;
    }
    long long above = typed;
    while (kSecondsPerDay % above != 0) {
        ++above;
    }
    return static_cast<int>(above - typed <= typed - below ? above : below);
}

std::uint32_t dutyAtOpening(std::uint32_t registerLow) {
    const std::uint32_t duty = registerLow & kDutyField;
    return duty == 0 ? kHalfDuty : duty;
}

std::uint32_t steppedDuty(std::uint32_t value, bool up) {
    const std::uint32_t on = value & kModulationOn;
    std::uint32_t duty = value & ~kModulationOn;
    if (up) {
        duty = duty < kHighestDuty ? duty + 2 : kLowestDuty;
    } else {
        duty = duty > kLowestDuty ? duty - 2 : kHighestDuty;
    }
    return duty | on;
}

std::string dutyText(std::uint32_t value) {
    return fixedText(((value >> 1) & 7) * 12.5, 1) + " %";
}

std::string qualityText(const Edition& edition, int quality) {
    static constexpr std::array<std::string_view, 4> kTexts{"No AA", "Anti-Alias", "Clear Type",
                                                            "Natural"};
    if (quality == 0 && edition.isXL()) {
        return "No Anti-Alias";
    }
    return std::string(kTexts[static_cast<std::size_t>(quality < 0 ? 0 : quality % 4)]);
}

int steppedQuality(int quality, bool up) {
    return up ? std::min(quality + 1, kHighestQuality) : std::max(quality - 1, 0);
}

ScreenRect settingsWindowPlacement(const ScreenRect& mainWindow, int width, int height,
                                   const ScreenRect& screen, bool composition) {
    int top = mainWindow.top + (mainWindow.height() - height) / 2;
    if (top < 0) {
        top = 0;
    }
    const int lowestFoot = screen.height() - kScreenFootMargin;
    if (top + height > lowestFoot) {
        top = std::max(lowestFoot - height, screen.top);
    }
    const int gap = composition ? kCompositionGap : 0;
    const bool roomOnTheRight = mainWindow.left - screen.left < screen.right - mainWindow.right;
    const int left = roomOnTheRight ? mainWindow.right + gap : mainWindow.left - width - gap;
    return {left, top, left + width, top + height};
}

}  // namespace calidus
