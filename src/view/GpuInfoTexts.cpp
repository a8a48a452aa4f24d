#include "view/GpuInfoTexts.h"

namespace calidus {

namespace {

std::string localText(Clock& clock, std::time_t when, const char* format) {
    const std::tm local = clock.localTime(when);
    char text[64];
    return std::strftime(text, sizeof text, format, &local) == 0 ? std::string() : text;
}

}  // namespace

int gpuInfoDegrees(int celsius, bool fahrenheit) {
    return fahrenheit ? (18 * celsius + 5) / 10 + 32 : celsius;
}

std::string gpuInfoDate(Clock& clock, std::time_t when) {
    return localText(clock, when, "%m/%d/%Y");
}

std::string gpuInfoTime(Clock& clock, std::time_t when) {
    return localText(clock, when, "%X");
}

std::string gpuInfoCaption(const char* label, const std::string& unit) {
    return std::string(label) + " (" + unit + ")";
}

}  // namespace calidus
