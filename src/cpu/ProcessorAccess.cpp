#include "cpu/ProcessorAccess.h"

#include <array>
#include <string_view>

namespace calidus {

std::string driverStatusText(std::uint32_t status) {
    static constexpr std::array<std::string_view, 10> kTexts{
        "No Error",
        "Unsupported Platform",
        "Driver Not Loaded\nTry Run as Administrator.",
        "Driver Not Found",
        "Driver Unloaded",
        "Driver Not Found On Network",
        "",
        "",
        "",
        "Unknown Error",
    };
    return status < kTexts.size() ? std::string(kTexts[status]) : std::string();
}

}  // namespace calidus
