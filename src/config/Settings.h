#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/IconShow.h"

namespace calidus {

// A colour in 0x00BBGGRR layout.
using ColourRef = std::uint32_t;

inline constexpr std::string_view kSettingsSection = "Calidus";

// The seven font keys of the tray-icon font.
struct TrayFontKeys {
    int lfHeight = -13;
    int lfWidth = 0;
    int lfWeight = 400;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfPitchAndFamily = 34;
    std::string lfFaceName = "MS Sans Serif";

    bool operator==(const TrayFontKeys&) const = default;
};

// The in-memory copy of the settings file: one field per key of either edition, holding the
// corrected value (SettingsKeyTable names each key's field). The per-core TjMax and Idle values
// live with the cores (CoreCalibration). Changes during a run go through LiveSettings.
struct Settings {
    TrayFontKeys trayFont;
    int quality = 0;  // 0..3
    bool msrMulti = false;
    std::string rivaFile;
    int killMHz = 0;
    std::string spec;
    std::uint32_t cpuid = 0;
    int skull = 0;
    int gpu = 0;  // 1 NVIDIA, 2 ATI
    int pollInterval = 5;
    bool disableSensor = false;
    bool fahrenheit = false;
    bool threeDigit = false;
    std::string degreeSymbolString;
    int logInterval = 5;
    bool logFile = false;
    bool trayInfo = false;
    bool minimizeOnClose = false;
    bool alarm = false;
    int alarm1 = 100;
    int alarm2 = 100;
    int hdWrite = 60;
    int refreshInterval = 1000;
    bool vidInfo = false;
    bool tmLoad = false;
    // Core slots first, the GPU icon's colour last (index Edition::trayIconSlots - 1).
    std::array<ColourRef, 9> iconTextColor{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
                                           0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    std::uint32_t clockMod = 2;
    int oldFormula = 0;
    std::int32_t windowXY = 0;  // packed; placed by the window
    std::int32_t anchorXY = 0;  // packed
    bool miniMode = false;
    bool taskBar = false;
    bool startMinimized = false;
    bool csv = false;
    bool onTop = false;
    std::string alarmFile;
    ColourRef guiColor = 0xF4F3EE;
    ColourRef guiMiniColor = 0xF4F3EE;
    ColourRef guiText = 0x000000;
    ColourRef guiMiniText = 0x000000;
    ColourRef guiNormHead = 0x000000;
    ColourRef guiMiniHead = 0x000000;
    bool customGUI = false;
    bool customGUIMini = false;
    bool normHeading = false;
    bool miniHeading = false;
    IconShow iconShow;
    int fontNumber = 0;  // XL edition
    int bold = 0;        // XL edition: 200 when on

    bool operator==(const Settings&) const = default;
};

}  // namespace calidus
