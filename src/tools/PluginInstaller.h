#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/CoreCalibration.h"

namespace calidus {

// The file chooser behind "RivaTuner"; RivaTuner also runs under Wine, so its names stay.
struct RivaTunerChooser {
    std::string title;
    std::string fileName;
    std::string filter;  // "name (pattern)"
    std::filesystem::path startFolder;
};
// Starts in the folder of the current path, else in the home folder.
RivaTunerChooser rivaTunerChooser(std::string_view rivaFile, const std::filesystem::path& home);

enum class PluginMessageIcon { Warning, Error, Information };

struct PluginMessage {
    std::string caption;
    std::string text;
    PluginMessageIcon icon;
};

struct PluginInstall {
    std::string rivaFile;  // the path the Settings window keeps; empty after a failure
    std::optional<PluginMessage> message;
};

// The first folder holding each plug-in file is its source: beside the program, then the
// installed data folder.
struct PluginSources {
    std::vector<std::filesystem::path> folders;
};

// Installs the plug-in for the RivaTuner.exe chosen (nothing on Cancel): copies "CLCore.dll" and
// "CLCore.rth" into RivaTuner's folders, overwriting, and writes the present cores' TjMax and
// Idle into "CLCore.cfg".
PluginInstall installPlugin(const std::optional<std::string>& chosen, const PluginSources& sources,
                            const CoreCalibration& cores,
                            const std::array<bool, CoreCalibration::kSlots>& slotPresent);

}  // namespace calidus
