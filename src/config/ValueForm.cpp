#include "config/ValueForm.h"

#include <cstdio>

namespace calidus {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::int32_t parseProfileInt(std::string_view text, std::int32_t defaultValue) {
    if (text.empty()) {
        return defaultValue;
    }
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+') {
        ++i;
    }
    std::uint32_t value = 0;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        for (i += 2; i < text.size() && hexDigit(text[i]) >= 0; ++i) {
            value = value * 16u + static_cast<std::uint32_t>(hexDigit(text[i]));
        }
    } else {
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
        }
    }
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

std::string cutText(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && chars++ == maxChars) {
            return std::string(text.substr(0, i));
        }
    }
    return std::string(text);
}

std::string formatTenths(int tenths) {
    const long long magnitude = tenths < 0 ? -static_cast<long long>(tenths) : tenths;
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%lld", tenths < 0 ? "-" : "", magnitude / 10,
                  magnitude % 10);
    return text;
}

std::string formatColour(std::uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour & 0xFFFFFFu));
    return text;
}

std::string formatHex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

}  // namespace calidus
