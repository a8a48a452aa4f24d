#pragma once

#include <filesystem>

namespace calidus {

// The settings file beside the program: its ".exe" becomes ".ini", and a program name without
// ".exe" gets ".ini" appended, so the result is never the program file itself.
std::filesystem::path settingsPathFor(const std::filesystem::path& programPath);

}  // namespace calidus
