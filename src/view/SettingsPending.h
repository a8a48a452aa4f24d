#pragma once

#include <array>
#include <cstdint>

#include "common/Edition.h"
#include "config/LiveSettings.h"
#include "config/Settings.h"
#include "cpu/CoreCalibration.h"

namespace calidus {

// What the Settings window holds between its opening and Apply or OK. `values` starts as a copy
// of the run's settings; only the keys the window collects are taken from it by apply, so what
// the tray or the engine changed meanwhile stays. The clock-modulation value is `values.clockMod`.
struct SettingsPending {
    Settings values;
    CoreCalibration cores;
    std::array<bool, CoreCalibration::kSlots> slotPresent{};
    bool taskBarAtOpening = false;
    bool taskBarForced = false;  // no tray icon: the box stays checked and disabled

    // At opening. With no tray icon shown, "TaskBar" is forced on at once.
    static SettingsPending open(const Edition& edition, LiveSettings& live,
                                const CoreCalibration& cores,
                                const std::array<bool, CoreCalibration::kSlots>& slotPresent,
                                std::uint32_t clockModulation);

    // Apply and OK: the collected keys into the run's settings and the per-core values into
    // `cores`; the caller writes the clock modulation.
    void apply(const Edition& edition, LiveSettings& live, CoreCalibration& runCores);

    // "Defaults": the collected values back to their start, alarms in the display unit.
    void restoreDefaults(const Edition& edition, bool gpuRunning, bool coreI7);
};

}  // namespace calidus
