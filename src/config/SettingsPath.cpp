#include "config/SettingsPath.h"

#include <string>

namespace calidus {

std::filesystem::path settingsPathFor(const std::filesystem::path& programPath) {
    std::filesystem::path path = programPath;
    // Only the file name's own suffix counts: a folder named "tools.exe" must not move the file.
    if (path.extension() == ".exe") {
        return path.replace_extension(".ini");
    }
    path += ".ini";
    return path;
}

}  // namespace calidus
