#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace calidus {

enum class FrontEnd { Window, Console, Json };

struct CommandLine {
    FrontEnd frontEnd = FrontEnd::Window;
    std::optional<std::string> simulate;            // a built-in model name or a description file
    std::optional<long long> ticks;                 // stop after this many ticks
    std::optional<std::string> prometheusTextfile;  // folder of the node exporter's collector
    bool bench = false;                             // run the benchmark without the window and exit
    bool listModels = false;
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    CommandLine options;
    std::string error;  // empty when the arguments were understood
};

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

// Ends with the settings file this run uses.
std::string usageText(std::string_view programName, const std::filesystem::path& settingsFile);

// The settings file's path, or why there is none.
std::string settingsFileText(const std::filesystem::path& settingsFile);

}  // namespace calidus
