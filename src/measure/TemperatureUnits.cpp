#include "measure/TemperatureUnits.h"

namespace calidus {

int toDisplayUnit(int celsius, bool fahrenheit, const Edition& edition) {
    if (!fahrenheit) {
        return celsius;
    }
    // Integer division truncates toward zero, so a negative value rounds away from zero only
    // when the half is subtracted.
    const int half = celsius < 0 && edition.fahrenheitRoundsAwayFromZero ? -5 : 5;
    return (celsius * 18 + half) / 10 + 32;
}

std::string degreeString(bool fahrenheit, std::string_view symbolText) {
    if (!symbolText.empty()) {
        return std::string(symbolText);
    }
    return fahrenheit ? "\u00B0F" : "\u00B0C";
}

}  // namespace calidus
