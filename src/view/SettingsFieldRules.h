#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Edition.h"
#include "common/Registers.h"
#include "view/ScreenRect.h"

namespace calidus {

// How the Settings window corrects what was typed: never refused, always made valid.

// An idle calibration field: the number the text starts with (0 when none), kept within
// -19.9..9.9 and rounded half away from zero to tenths.
int calibrationTenths(std::string_view text);
// "%.1f" of the tenths.
std::string calibrationText(int tenths);

// A TjMax field: an unsigned number within 70..120.
int correctedTjMax(std::string_view text);

// Log seconds: within 1..86400 and a divisor of a day, the nearer one (the larger on a tie).
int correctedLogSeconds(long long typed);

using msr::kDutyField;
using msr::kModulationOn;

// The duty field shown for a register value: 8 (50 %) when it has none.
std::uint32_t dutyAtOpening(std::uint32_t registerLow);
// One spin step with the enable bit kept: up 2, 4, ..., 14, 2; down the other way.
std::uint32_t steppedDuty(std::uint32_t value, bool up);
// "%.1f %%" of the duty code times 12.5.
std::string dutyText(std::uint32_t value);

// The tray font's rendering quality, 0..3, as the text beside its spin.
std::string qualityText(const Edition& edition, int quality);
int steppedQuality(int quality, bool up);

// The Settings window beside the main window: centred on it vertically, then lifted while its
// foot is below the screen height less 45, on the side of the main window with more room.
ScreenRect settingsWindowPlacement(const ScreenRect& mainWindow, int width, int height,
                                   const ScreenRect& screen, bool composition);

}  // namespace calidus
