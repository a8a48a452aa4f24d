#include "common/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace calidus {

std::string_view trimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

namespace {
char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::string asciiLower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    return lower;
}

std::string fixedText(double value, int decimals, int width) {
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    char text[64];
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string result(text, end.ec == std::errc{} ? end.ptr : text);
    if (static_cast<int>(result.size()) < width) {
        result.insert(0, static_cast<std::size_t>(width) - result.size(), ' ');
    }
    return result;
}

}  // namespace calidus
