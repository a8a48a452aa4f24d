#include "cpu/ModelNumber.h"

#include <string_view>
#include <utility>

namespace calidus {

namespace {

// Lists searched by substring, so a token matches wherever it occurs in them.
constexpr std::string_view kDesktopE =
    "1200 2140 2160 2180 2200 2220 2240 3110 4300 4400 4500 4600 5345 5410 5420 5430 5450 5462 "
    "5472 6300 6320 6400 6420 6540 6550 6600 6750 7210 7220 7320 7330 7340 8190 8400 8500 8600";
constexpr std::string_view kMobileT =
    "1300 1400 2050 2060 2080 2100 2130 2200 2250 2300 2300E 2330 2350 2370 2400 2450 2500 2600 "
    "2700 5250 5270 5300 5450 5470 5500 5600 7100 7250 7300 7400 7500 7600 7700 7800 8100 8300 "
    "9300 9400 9500 9600";
constexpr std::string_view kExtremeX =
    "3210 3220 3230 5260 5272 5355 5365 5460 5472 5482 6800 7900 9000";
constexpr std::string_view kQuadExtremeQX = "9650 9770 9775";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool inRange(std::uint32_t value, std::uint32_t first, std::uint32_t last) {
    return value >= first && value <= last;
}
bool inList(std::string_view list, std::string_view token) {
    return list.find(token) != std::string_view::npos;
}

std::string upToNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

// Brand searches are plain substring tests on the brand as read.
class Brand {
  public:
    explicit Brand(std::string text) : text_(std::move(text)) {}
    bool has(std::string_view part) const { return text_.find(part) != std::string::npos; }

  private:
    std::string text_;
};

// From the right: the first run of 3 or 4 digits (with the letters just before it) that a blank
// opens, plus the character that closes it unless that is a blank.
std::string modelToken(const BrandCharacters& chars) {
    std::size_t digits = 0;
    std::size_t letters = 0;
    for (std::size_t i = chars.size(); i-- > 0;) {
        const char c = chars[i];
        if (isDigit(c)) {
            ++digits;
            continue;
        }
        if (digits != 3 && digits != 4) {
            digits = 0;
            letters = 0;
            continue;
        }
        if (isLetter(c)) {
            ++letters;
        }
        if (c == ' ') {
            const std::size_t start = i + 1;
            const std::size_t end = start + letters + digits;
            std::string token(chars.data() + start, letters + digits);
            const char closing = end < chars.size() ? chars[end] : '\0';
            if (closing != ' ') {
                token += closing;
            }
            return upToNul(token);
        }
    }
    return {};
}

// Bare four-digit numbers of older brands get their series letters.
std::string withSeriesLetters(std::string token, std::uint32_t signature, const Brand& brand) {
    if (inList(kDesktopE, token)) {
        token = "E" + token;
    }
    if (inList(kMobileT, token)) {
        token = "T" + token;
        if (signature == 0x6FA) {
            token = "L" + token;
        }
        if (signature == 0x6F2 || signature == 0x6FD) {
            token = "U" + token;
        }
    }
    if (inList(kExtremeX, token)) {
        token = "X" + token;
    }
    if (inList(kQuadExtremeQX, token)) {
        token = "QX" + token;
    }
    if (token == "7200") {
        if (signature == 0x10676) {
            token = "E7200";
        } else if (signature == 0x6F6) {
            token = "T7200";
        }
    }
    if (token == "6850") {
        token = brand.has("Quad") || brand.has("Extreme") ? "QX6850" : "E6850";
    }
    if (token == "0000" && signature == 0x106A2) {
        token = "X5570";
    }
    return token;
}

// Early brands without a model number, told apart by clock speed and signature.
std::string fromClockSpeed(std::uint32_t signature, const Brand& brand) {
    const bool dualCore = signature == 0x6F6;
    const bool quadCore = signature == 0x6F5 || signature == 0x6F7;
    std::string model;
    if (brand.has("2.40GHz")) {
        if (dualCore) {
            model = "E6600";
        } else if (quadCore) {
            model = "Q6600";
        }
    }
    if (brand.has("2.66GHz")) {
        if (dualCore) {
            model = "E6700";
        } else if (quadCore) {
            model = "QX6700";
        }
    }
    if (brand.has("2.93GHz")) {
        if (signature == 0x6F7 || signature == 0x6FB) {
            model = "QX6800";
        } else if (dualCore) {
            model = "X6800";
        }
    }
    return model;
}

void replaceWhen(const Brand& brand, std::string_view part, std::string_view name,
                 std::string& model) {
    if (brand.has(part)) {
        model = name;
    }
}

void prefixWhen(const Brand& brand, std::string_view part, std::string_view prefix,
                std::string& model) {
    if (brand.has(part)) {
        model = std::string(prefix) + model;
    }
}

// Core i7 of the first generation, Lynnfield/Clarksfield, then Clarkdale/Arrandale/Sandy Bridge,
// named from the letters the brand puts before the number.
void fourCoreFamilyNames(std::uint32_t signature, const Brand& brand, std::string& model) {
    if (inRange(signature, 0x106A0, 0x106A8) && !brand.has("Xeon")) {
        prefixWhen(brand, "i7", "Core i7-", model);
        if (brand.has("000")) {
            replaceWhen(brand, "2.67GHz", "Core i7-920", model);
            if (brand.has("2.93GHz")) {
                model = brand.has("0000") ? "X5570" : "Core i7-940";
            }
            replaceWhen(brand, "3.20GHz", "Core i7-965", model);
            replaceWhen(brand, "3.33GHz", "Core i7-975", model);
        }
    }
    if (inRange(signature, 0x106E0, 0x106E8) && !brand.has("Xeon")) {
        if (brand.has("i7")) {
            replaceWhen(brand, "S 860", "860S", model);
            replaceWhen(brand, "K 875", "875K", model);
            replaceWhen(brand, "Q 720", "720QM", model);
            replaceWhen(brand, "Q 820", "820QM", model);
            replaceWhen(brand, "X 920", "920XM", model);
            model = "Core i7-" + model;
        }
        if (brand.has("i5")) {
            replaceWhen(brand, "S 750", "750S", model);
            model = "Core i5-" + model;
        }
        prefixWhen(brand, "i3", "Core i3-", model);
    }
    if (inRange(signature, 0x20650, 0x206CF)) {
        replaceWhen(brand, "X 980", "980X", model);
        replaceWhen(brand, "K 655", "655K", model);
        prefixWhen(brand, "i3", "Core i3-", model);
        prefixWhen(brand, "i5", "Core i5-", model);
        prefixWhen(brand, "i7", "Core i7-", model);
    }
}

// The same families named from the brand's clock speed.
void sixCoreFamilyNames(std::uint32_t signature, const Brand& brand, std::string& model) {
    if (inRange(signature, 0x106A1, 0x106A8) && !brand.has("Xeon")) {
        model = "Core i7-" + model;
        replaceWhen(brand, "2.67GHz", "Core i7-920", model);
        replaceWhen(brand, "2.93GHz", "Core i7-940", model);
        replaceWhen(brand, "3.20GHz", "Core i7-965", model);
        replaceWhen(brand, "3.33GHz", "Core i7-975", model);
    }
    if (inRange(signature, 0x106E0, 0x106E8) && !brand.has("Xeon")) {
        if (brand.has("i7")) {
            model = "Core i7-" + model;
            replaceWhen(brand, "2.00GHz", "Core i7-920XM", model);
            replaceWhen(brand, "1.73GHz", "Core i7-820QM", model);
            replaceWhen(brand, "1.60GHz", "Core i7-720QM", model);
            replaceWhen(brand, "2.80GHz", "Core i7-860", model);
            replaceWhen(brand, "2.93GHz", "Core i7-870", model);
        }
        if (brand.has("i5")) {
            model = "Core i5-" + model;
            replaceWhen(brand, "2.66GHz", "Core i5-750", model);
        }
        prefixWhen(brand, "i3", "Core i3-", model);
    }
    // The window puts "Intel " before the whole model text already.
    if (inRange(signature, 0x206A0, 0x206AF) || inRange(signature, 0x206C0, 0x206CF)) {
        if (brand.has("i7")) {
            model = "Core i7-" + model;
            replaceWhen(brand, "980", "Core i7-980X", model);
        }
        prefixWhen(brand, "i5", "Core i5-", model);
        prefixWhen(brand, "i3", "Core i3-", model);
    }
}

void quadExtremeNames(std::uint32_t signature, std::string& model) {
    if (model == "Q6800") {
        model = "QX6800";
    }
    if (model == "X6800" && (signature == 0x6F7 || signature == 0x6FB)) {
        model = "QX6800";
    }
}

// A byte above 0x7F becomes the 16-bit character 0xFF80..0xFFFF, written as UTF-8.
void appendCharacter(char c, std::string& text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
        text += c;
        return;
    }
    text += static_cast<char>(0xEF);
    text += static_cast<char>(0xBE | (byte >> 6 & 0x01));
    text += static_cast<char>(0x80 | (byte & 0x3F));
}

std::string asText(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        appendCharacter(c, text);
    }
    return text;
}

}  // namespace

std::string brandText(const BrandCharacters& chars) {
    return asText(upToNul(std::string_view(chars.data(), chars.size())));
}

std::string modelNumberFromBrand(const BrandCharacters& chars, std::uint32_t cpuSignature,
                                 const Edition& edition) {
    const Brand brand(upToNul(std::string_view(chars.data(), chars.size())));
    std::string model = modelToken(chars);
    const bool tokenFound = !model.empty();
    if (model.size() == 4) {
        model = withSeriesLetters(model, cpuSignature, brand);
    }
    if (model == "X9650" || model == "X9770" || model == "X9775") {
        model = "Q" + model;
    }
    if (edition.modelRules == ModelRules::SixCore && tokenFound &&
        inRange(cpuSignature, 0x20650, 0x20658)) {
        prefixWhen(brand, "i5", "Core i5-", model);
        prefixWhen(brand, "i3", "Core i3-", model);
    }
    if (model.empty()) {
        model = fromClockSpeed(cpuSignature, brand);
    }
    if (edition.modelRules == ModelRules::SixCore) {
        sixCoreFamilyNames(cpuSignature, brand, model);
    } else {
        fourCoreFamilyNames(cpuSignature, brand, model);
    }
    quadExtremeNames(cpuSignature, model);
    return asText(model);
}

}  // namespace calidus
