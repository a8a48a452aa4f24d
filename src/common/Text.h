#pragma once

#include <string_view>

namespace calidus {

// Without the blanks, tabs and carriage returns around it.
std::string_view trimBlanks(std::string_view text);

// ASCII letters compared without regard to case; anything else byte for byte.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace calidus
