#include "view/TrayNumberText.h"

namespace calidus {

std::string trayNumberText(int value, bool threeDigit) {
    if (value < 100 || threeDigit) {
        return std::to_string(value);
    }
    const int rest = value - 100;
    return rest < 10 ? "0" + std::to_string(rest) : std::to_string(rest);
}

}  // namespace calidus
