#pragma once

#include <string>
#include <string_view>

#include "common/Edition.h"

namespace calidus {

// Degrees Celsius to the display unit, in whole degrees.
int toDisplayUnit(int celsius, bool fahrenheit, const Edition& edition);

// "°C" or "°F"; a non-empty symbol text replaces it whole.
std::string degreeString(bool fahrenheit, std::string_view symbolText);

}  // namespace calidus
