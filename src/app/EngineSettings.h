#pragma once

#include <cstdint>
#include <string>

#include "measure/MonitorSettings.h"

namespace calidus {

// The values of the settings file that start-up and the cycle use, fed by the settings layer.
struct EngineSettings {
    MonitorSettings monitor;
    std::string degreeSymbolString;  // when not empty, replaces the whole unit text
    int skull = 0;                   // standard edition: which package is monitored
    int refreshInterval = 1000;      // ms; the XL edition always ticks once a second
    std::uint32_t clockMod = 2;      // applied to every processor at start-up
    std::uint32_t iconShow = 1;
    bool miniMode = false;
    bool taskBar = false;
    bool startMinimized = false;
};

}  // namespace calidus
