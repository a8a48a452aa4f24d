#pragma once

#include "config/Settings.h"

namespace calidus {

// The settings a monitoring tick reads; the Settings window may change them between ticks.
struct MonitorSettings {
    bool fahrenheit = false;
    bool oldFormula = false;  // the standard edition's older calibration formula
    bool alarm = false;
    int alarm1 = 100;  // processor alarm, display unit
    int alarm2 = 100;  // GPU alarm, display unit
};

inline MonitorSettings monitorSettings(const Settings& settings) {
    return {.fahrenheit = settings.fahrenheit,
            .oldFormula = settings.oldFormula != 0,
            .alarm = settings.alarm,
            .alarm1 = settings.alarm1,
            .alarm2 = settings.alarm2};
}

}  // namespace calidus
