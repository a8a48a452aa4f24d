#pragma once

#include <filesystem>

namespace calidus {

// Where the engine keeps its settings between runs.
struct EngineSettings {
    // Read once at start-up; the exit keys go back into it at shutdown. Empty for a run that
    // takes every default and leaves no file behind.
    std::filesystem::path file;
};

}  // namespace calidus
