#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace calidus {

// The settings file beside the program: its ".exe" becomes ".ini", and a program name without
// ".exe" gets ".ini" appended, so the result is never the program file itself.
std::filesystem::path settingsPathFor(const std::filesystem::path& programPath);

using FileExists = std::function<bool(const std::filesystem::path&)>;

// What decides where a run keeps its settings. The program fills it from its own path, the
// folder it was built to be installed in, and its environment.
struct SettingsPlace {
    std::filesystem::path program;  // the running program file; empty when unknown
    std::filesystem::path installedProgramFolder;
    std::optional<std::string> xdgConfigHome;  // XDG_CONFIG_HOME
    std::optional<std::string> home;           // HOME
};

// A program outside the folder it was built to be installed in keeps its settings beside itself.
// An installed one uses <config home>/calidus/<program>.ini, where the config home is
// XDG_CONFIG_HOME when that is an absolute path, else HOME/.config; a settings file beside it
// still wins. Empty when there is nowhere to keep them.
std::filesystem::path settingsFileFor(std::string_view programName, const SettingsPlace& place,
                                      const FileExists& exists);

// Makes the folders on the way to the file that do not exist yet, for their owner only (mode
// 0700, as the configuration home asks for); false when one could not be made.
bool createFolderFor(const std::filesystem::path& file);

}  // namespace calidus
