#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "common/Edition.h"
#include "config/AtomicFileWriter.h"
#include "config/ScreenPosition.h"
#include "config/Settings.h"
#include "config/SettingsReader.h"
#include "platform/UserRights.h"

namespace calidus {

// Each writer reads the file as it is now, changes its own keys and replaces the file in one
// atomic step, so hand-made keys and other sections survive. They answer whether the settings
// file was written, and why not; the program carries on either way.

struct SaveContext {
    ProcessorIdentity processor;
    std::array<bool, 8> slotPresent{};  // core slots whose core exists
    CoreCalibration cores;
    GpuSourcesRunning gpu;
    // The plug-in's configuration lies where "RivaFile" points, which root does not write to.
    bool pluginAllowed = !runningAsRoot();
};

// The Settings window's OK. When "RivaFile" names a RivaTuner.exe and the context allows it, the
// per-core TjMax and Idle keys also go into the plug-in's CLCore.cfg.
ReplaceResult saveSettings(const std::filesystem::path& path, const Edition& edition,
                           const Settings& settings, const SaveContext& context,
                           const WriteStep& step = writeWhole);

struct ExitState {
    std::optional<ScreenPoint> windowTopLeft;  // once a window rectangle has been recorded
    bool compositionShift = false;  // normal mode with desktop composition: moved by (-5, -5)
    ScreenPoint anchor;
    ScreenPoint previousAnchor;
    bool miniMode = false;
    IconShow iconShow;
    // Low half of MSR 0x19A on logical processor 0; the stored "ClockMod" stays without it.
    std::optional<std::uint32_t> clockModulationRegister;
};

ReplaceResult saveOnExit(const std::filesystem::path& path, const ExitState& state,
                         const WriteStep& step = writeWhole);

ReplaceResult saveFont(const std::filesystem::path& path, const TrayFontKeys& font,
                       const WriteStep& step = writeWhole);

// Written when the ATI information window closes.
ReplaceResult saveAtiSensorKeys(const std::filesystem::path& path, const AtiSensorKeys& keys,
                                const WriteStep& step = writeWhole);

// The plug-in configuration beside RivaTuner, or nothing when the path names no RivaTuner.exe.
std::optional<std::filesystem::path> pluginConfigPath(std::string_view rivaFile);

}  // namespace calidus
