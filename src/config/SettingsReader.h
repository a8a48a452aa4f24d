#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Edition.h"
#include "config/ProfileFile.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "cpu/CoreCalibration.h"
#include "cpu/ProcessorInfo.h"

namespace calidus {

struct ProcessorIdentity {
    std::string_view brandString;  // seen up to its first NUL
    std::uint32_t cpuSignature = 0;
    bool platformInfoClass = false;
};

// What start-up knows when the settings are read.
struct StartupInputs {
    ProcessorIdentity processor;
    CoreCalibration cores;  // TjMax as identification chose it (tables, then the processor)
    bool killMHz = false;   // as the model tables left it
    GpuSourcesRunning gpu;  // after the sources that "GPU" asked for were started
};

// The corrected settings and the start-up effects that follow from them. The timer period is
// settings.refreshInterval, the clock-modulation value to apply settings.clockMod, and the load
// thread starts when settings.tmLoad is on.
struct StartupSettings {
    Settings settings;
    CoreCalibration cores;  // with the per-core keys applied and the chosen TjMax as default
    bool processorChanged = false;  // the per-core keys were skipped
    bool killMHz = false;
};

// Font keys and "Quality"; read before the main window fills its controls.
struct TrayFontSettings {
    TrayFontKeys font;
    int quality = 0;
};
TrayFontSettings loadTrayFont(const ProfileFile& file);

// "MSRMulti", read while the processor is identified.
bool readMsrMulti(const ProfileFile& file);

// "Skull" (0 in the XL edition), read ahead of the rest: the core map takes it before TjMax is
// read from the cores.
int readSkull(const ProfileFile& file, const Edition& edition);

// "GPU": which sources start-up brings up before the rest is read.
int readGpuSelection(const ProfileFile& file);

// "PollInterval" and "DisableSensor", read when the ATI source comes up.
struct AtiSensorKeys {
    int pollInterval = 5;
    bool disableSensor = false;
};
AtiSensorKeys readAtiSensorKeys(const ProfileFile& file);

StartupSettings loadSettings(const ProfileFile& file, const Edition& edition,
                             const StartupInputs& inputs);

// The processor number of the caption rebuilt after a unit change: "Skull" read again, with any
// value above 2 counting as 0.
int headingCpuNumberAfterUnitChange(const ProfileFile& file, const Edition& edition);

}  // namespace calidus
