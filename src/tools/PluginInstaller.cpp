#include "tools/PluginInstaller.h"

#include <system_error>

#include "config/ProfileFile.h"
#include "config/Settings.h"
#include "config/ValueForm.h"

namespace calidus {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRivaTunerName = "RivaTuner.exe";
constexpr std::string_view kPluginName = "CLCore.dll";
constexpr std::string_view kHelpName = "CLCore.rth";
constexpr int kConfiguredSlots = 4;

fs::path sourceOf(std::string_view name, const PluginSources& sources) {
    for (const fs::path& folder : sources.folders) {
        std::error_code error;
        if (!folder.empty() && fs::is_regular_file(folder / name, error)) {
            return folder / name;
        }
    }
    // A missing file is named where it should have been.
    return sources.folders.empty() ? fs::path(name) : sources.folders.front() / name;
}

bool copyOver(const fs::path& from, const fs::path& to) {
    std::error_code error;
    return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
}

bool writeConfiguration(const fs::path& file, const CoreCalibration& cores,
                        const std::array<bool, CoreCalibration::kSlots>& slotPresent) {
    ProfileFile config = ProfileFile::load(file);
    for (int slot = 0; slot < kConfiguredSlots; ++slot) {
        if (slotPresent[static_cast<std::size_t>(slot)]) {
            config.write(kSettingsSection, "TjMax" + std::to_string(slot),
                         std::to_string(cores.tjMax[static_cast<std::size_t>(slot)]));
        }
    }
    for (int slot = 0; slot < kConfiguredSlots; ++slot) {
        if (slotPresent[static_cast<std::size_t>(slot)]) {
            config.write(kSettingsSection, "Idle" + std::to_string(slot),
                         formatTenths(cores.idle[static_cast<std::size_t>(slot)]));
        }
    }
    return static_cast<bool>(config.save(file));
}

}  // namespace

RivaTunerChooser rivaTunerChooser(std::string_view rivaFile, const fs::path& home) {
    const fs::path folder = rivaFile.empty() ? home : fs::path(rivaFile).parent_path();
    return {.title = "Find RivaTuner.exe",
            .fileName = std::string(kRivaTunerName),
            .filter = "RivaTuner.exe (RivaTuner.exe)",
            .startFolder = folder.empty() ? home : folder};
}

PluginInstall installPlugin(const std::optional<std::string>& chosen, const PluginSources& sources,
                            const CoreCalibration& cores,
                            const std::array<bool, CoreCalibration::kSlots>& slotPresent) {
    if (!chosen) {
        return {};
    }
    const std::string& path = *chosen;
    if (!path.ends_with(kRivaTunerName)) {
        return {.rivaFile = {},
                .message = PluginMessage{"File not found",
                                         "RivaTuner.exe\nFile not found.\nCheck the file name "
                                         "and try again.",
                                         PluginMessageIcon::Warning}};
    }
    const fs::path folder(path.substr(0, path.size() - kRivaTunerName.size()));
    const fs::path plugin = sourceOf(kPluginName, sources);
    if (!copyOver(plugin, folder / "PlugIns" / "Monitoring" / kPluginName)) {
        return {.rivaFile = {},
                .message = PluginMessage{"Error",
                                         "Could not copy\n\n" + plugin.string() +
                                             "\n\nto the  RivaTuner\\PlugIns\\Monitoring "
                                             "directory.",
                                         PluginMessageIcon::Error}};
    }
    copyOver(sourceOf(kHelpName, sources), folder / "Help" / "Plugins" / "Monitoring" / kHelpName);
    // Copied but not configured is no success: the plug-in would show no core.
    if (const fs::path config = folder / "PlugIns" / "Monitoring" / "CLCore.cfg";
        !writeConfiguration(config, cores, slotPresent)) {
        return {.rivaFile = {},
                .message = PluginMessage{"Error", "Could not write\n\n" + config.string(),
                                         PluginMessageIcon::Error}};
    }
    return {.rivaFile = path,
            .message = PluginMessage{"Plug-In Installed",
                                     "Calidus plug-in was successfully installed.\n"
                                     "Start RivaTuner and select CLCore.dll\n\n"
                                     "Customize -> Hardware monitoring -> Setup -> Plugins",
                                     PluginMessageIcon::Information}};
}

}  // namespace calidus
