#pragma once

#include <filesystem>
#include <optional>

#include "record/PrometheusTextfile.h"

namespace calidus {

// Where the engine keeps its settings between runs.
struct EngineSettings {
    // Read once at start-up; the exit keys go back into it at shutdown. Empty for a run that
    // takes every default and leaves no file behind.
    std::filesystem::path file;
    // `--prometheus-textfile`: the readings after every tick, for the node exporter.
    std::optional<TextfileTarget> prometheus{};
};

}  // namespace calidus
