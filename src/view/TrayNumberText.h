#pragma once

#include <string>

namespace calidus {

// The digits a tray icon draws: two fit in a small icon, so 100 and above drop the hundreds
// ("05" for 105) unless three digits are allowed.
std::string trayNumberText(int value, bool threeDigit);

}  // namespace calidus
