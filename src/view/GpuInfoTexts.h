#pragma once

#include <ctime>
#include <string>

#include "platform/Clock.h"

namespace calidus {

// The information windows' own °F rule: (18c + 5) / 10 + 32.
int gpuInfoDegrees(int celsius, bool fahrenheit);

// "%m/%d/%Y" and "%X" in local time.
std::string gpuInfoDate(Clock& clock, std::time_t when);
std::string gpuInfoTime(Clock& clock, std::time_t when);

// "Minimum (%s)" and its kin.
std::string gpuInfoCaption(const char* label, const std::string& unit);

// The fields of one extreme: its date, time and value.
struct ExtremeTexts {
    std::string date;
    std::string time;
    std::string value;

    void clear() { *this = {}; }
};

}  // namespace calidus
