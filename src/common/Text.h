#pragma once

#include <string>
#include <string_view>

namespace calidus {

// Without the blanks, tabs and carriage returns around it.
std::string_view trimBlanks(std::string_view text);

// ASCII letters compared without regard to case; anything else byte for byte.
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// ASCII letters in lower case, for keys that match without regard to case.
std::string asciiLower(std::string_view text);

// printf's "%<width>.<decimals>f" with a decimal point whatever the C library's locale: a
// desktop session sets LC_NUMERIC, and a log row must not change form with who runs it.
std::string fixedText(double value, int decimals, int width = 0);

}  // namespace calidus
