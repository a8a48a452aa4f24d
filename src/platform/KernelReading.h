#pragma once

namespace calidus {

// One core's temperature as the kernel's coretemp driver gives it, in millidegrees Celsius.
struct KernelReading {
    int input = 0;
    int critical = 0;  // the kernel's TjMax for the core
    bool criticalAlarm = false;
};

}  // namespace calidus
