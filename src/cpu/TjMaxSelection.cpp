#include "cpu/TjMaxSelection.h"

#include <array>
#include <charconv>
#include <cmath>
#include <span>
#include <string>

#include "common/Registers.h"

namespace calidus {

namespace {

constexpr int kLowestReportedTjMax = 70;

// Where the two programs' model tables differ.
struct TableRules {
    bool tPrefixMarksMobile;
    bool tpPrefixesMarkMobileOnPenrynOnly;
    bool lowVoltageGetsS;
    std::span<const std::string_view> mobileQuads;
    bool atomBySignatureRange;
    std::string_view atomModels;  // substring list, when not by signature range
    std::uint32_t atomTextFirst;
    std::uint32_t atomTextLast;
    bool xeonX5570Text;
};

constexpr std::array<std::string_view, 5> kFourCoreMobileQuads{"Q9000", "Q9100", "QX9300", "Q9300",
                                                               "X9300"};
constexpr std::array<std::string_view, 4> kSixCoreMobileQuads{"Q9000", "Q9100", "Q9200", "QX9300"};

constexpr TableRules kFourCoreTables{
    .tPrefixMarksMobile = true,
    .tpPrefixesMarkMobileOnPenrynOnly = false,
    .lowVoltageGetsS = true,
    .mobileQuads = kFourCoreMobileQuads,
    .atomBySignatureRange = true,
    .atomModels = "",
    .atomTextFirst = 0x106C0,
    .atomTextLast = 0x106CF,
    .xeonX5570Text = true,
};

constexpr TableRules kSixCoreTables{
    .tPrefixMarksMobile = false,
    .tpPrefixesMarkMobileOnPenrynOnly = true,
    .lowVoltageGetsS = false,
    .mobileQuads = kSixCoreMobileQuads,
    .atomBySignatureRange = false,
    .atomModels = "Z500 Z510 Z520 Z530 Z540 Z550 N270",
    .atomTextFirst = 0x106C2,
    .atomTextLast = 0x106C2,
    .xeonX5570Text = false,
};

constexpr std::array<std::string_view, 11> kLowVoltageAndExtremeMobile{
    "SL9300", "SL9400", "SL9600", "SP9300", "SP9400", "SP9600",
    "SU9300", "SU9400", "SU9600", "X9000",  "X9100"};
constexpr std::string_view kHarpertownXeons = "E5405 E5410 E5420 E5430 E5440 E5450 E5462 E5472";

const TableRules& tableRulesOf(const Edition& edition) {
    return edition.modelRules == ModelRules::SixCore ? kSixCoreTables : kFourCoreTables;
}

bool inRange(std::uint32_t value, std::uint32_t first, std::uint32_t last) {
    return value >= first && value <= last;
}

bool isOneOf(std::span<const std::string_view> names, std::string_view model) {
    for (std::string_view name : names) {
        if (name == model) {
            return true;
        }
    }
    return false;
}

bool startsWithAny(std::string_view model, std::string_view letters) {
    return !model.empty() && letters.find(model.front()) != std::string_view::npos;
}

std::string displayText(const ProcessorInfo& info, const TableRules& rules) {
    const auto brandHas = [&](std::string_view part) {
        return info.brandString.find(part) != std::string::npos;
    };
    std::string text = info.modelNumber;
    if (brandHas("Xeon")) {
        text = "Xeon " + text;
    }
    if (rules.xeonX5570Text && brandHas("X5570")) {
        text = "Xeon X5570";
    }
    if (brandHas("Quad")) {
        text = "Quad " + text;
    }
    if (brandHas("Atom") || inRange(info.cpuSignature, rules.atomTextFirst, rules.atomTextLast)) {
        text = "Atom " + text;
    }
    return text;
}

}  // namespace

bool chooseTjMaxFromTables(ProcessorInfo& info, CoreCalibration& calibration,
                           const Edition& edition) {
    const TableRules& rules = tableRulesOf(edition);
    const std::uint32_t signature = info.cpuSignature;
    const bool penryn = inRange(signature, 0x10670, 0x1067F);
    std::string& model = info.modelNumber;
    int tjMax = CoreCalibration::kStartTjMax;
    bool mobile = false;

    if (inRange(signature, 0x6F0, 0x6F9) || inRange(signature, 0x6FC, 0x6FF) ||
        signature == 0x106C2) {
        tjMax = 90;
    }
    if (startsWithAny(model, "TLU")) {
        tjMax = 100;
        mobile = mobile || rules.tPrefixMarksMobile;
    }
    const bool tpMarksMobile = !rules.tpPrefixesMarkMobileOnPenrynOnly || penryn;
    if (startsWithAny(model, "T") && model >= "T8100") {
        tjMax = 105;
        mobile = mobile || (rules.tpPrefixesMarkMobileOnPenrynOnly && penryn);
    }
    if (startsWithAny(model, "P")) {
        mobile = mobile || tpMarksMobile;
        tjMax = model < "P8000" ? 90 : 105;
    }
    if (rules.lowVoltageGetsS && (model == "L9300" || model == "L9400" || model == "L9600")) {
        model = "S" + model;
    }
    if (isOneOf(kLowVoltageAndExtremeMobile, model)) {
        tjMax = 105;
        mobile = true;
    }
    if (isOneOf(rules.mobileQuads, model)) {
        tjMax = 100;
        mobile = true;
    }
    if (rules.atomBySignatureRange && inRange(signature, 0x106C0, 0x106CF)) {
        tjMax = info.brandString.find("D510") != std::string::npos ? 100 : 90;
        mobile = true;
    }
    if (!rules.atomModels.empty() && rules.atomModels.find(model) != std::string_view::npos) {
        tjMax = 90;
        mobile = true;
    }
    if (kHarpertownXeons.find(model) != std::string_view::npos) {
        tjMax = 90;
    }

    // Every slot: the table describes the model, so a second package is the same.
    calibration.tjMax.fill(tjMax);
    info.mobileFlag = mobile;
    info.modelText = std::string(edition.modelTextPrefix) + displayText(info, rules);
    return edition.hasKillMHz && mobile;
}

void chooseTjMaxFromProcessor(ProcessorAccess& access, const ProcessorInfo& info,
                              const CoreMap& map, CoreCalibration& calibration,
                              const Edition& edition) {
    if (!info.platformInfoClass || access.systemMask() == 0) {
        return;
    }
    for (int n = 0; n < edition.coreSlots; ++n) {
        const std::uint32_t mask = map.coreMask[static_cast<std::size_t>(n)];
        if (mask == 0) {
            continue;
        }
        const int reported = static_cast<int>(
            access.readMsr(processorOfMask(mask), msr::kTemperatureTarget).low >> 16 & 0x7F);
        calibration.tjMax[static_cast<std::size_t>(n)] =
            reported < kLowestReportedTjMax ? CoreCalibration::kStartTjMax : reported;
    }
}

int idleTenths(std::string_view text) {
    const auto start = text.find_first_not_of(" \t\n\v\f\r");
    text.remove_prefix(start == std::string_view::npos ? text.size() : start);
    if (text.starts_with('+') && !text.substr(1).starts_with('-')) {
        text.remove_prefix(1);
    }
    // from_chars ignores the locale, which the window toolkit may have changed.
    double degrees = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), degrees);
    // Far outside the range anyway, and too large to truncate to an integer safely.
    if (!std::isfinite(degrees) || std::fabs(degrees) > 1000.0) {
        return 0;
    }
    const int hundredths = static_cast<int>(degrees * 100.0);
    const int tenths = hundredths > 0 ? (hundredths + 5) / 10 : (hundredths - 5) / 10;
    return tenths < -199 || tenths > 99 ? 0 : tenths;
}

bool killMHzAfterSetting(bool killMHz, int setting) {
    if (killMHz) {
        return setting != 29;
    }
    return setting != 0;
}

}  // namespace calidus
