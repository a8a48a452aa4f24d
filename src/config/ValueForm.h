#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace calidus {

// The value forms of the settings file: how each kind of value is read from and written as text.

// Optional sign, then "0x" and hexadecimal digits or decimal digits; reading stops at the first
// other character and wraps at 32 bits. Empty text gives the default, other text without digits 0.
std::int32_t parseProfileInt(std::string_view text, std::int32_t defaultValue);

// At most maxChars characters (UTF-8 sequences are never split).
std::string cutText(std::string_view text, std::size_t maxChars);

// "%.1f" of tenths / 10, always with a decimal point whatever the process locale.
std::string formatTenths(int tenths);

// "0x%06X" of a 24-bit colour in 0x00BBGGRR layout.
std::string formatColour(std::uint32_t colour);

// "0x%X"
std::string formatHex(std::uint32_t value);

}  // namespace calidus
