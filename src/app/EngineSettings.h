#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "record/PrometheusTextfile.h"

namespace calidus {

// Where the engine keeps its settings between runs, and the files it writes and plays.
struct EngineSettings {
    // Read once at start-up; the exit keys go back into it at shutdown. Empty for a run that
    // takes every default and leaves no file behind.
    std::filesystem::path file;
    // The log file's folder; empty for the current folder.
    std::filesystem::path logFolder{};
    // Where the warning sound is looked for, in order; none for a silent alarm.
    std::vector<std::filesystem::path> soundFolders{};
    // Where the RivaTuner plug-in's files are looked for, in order.
    std::vector<std::filesystem::path> pluginFolders{};
    // `--prometheus-textfile`: the readings after every tick, for the node exporter.
    std::optional<TextfileTarget> prometheus{};
};

}  // namespace calidus
