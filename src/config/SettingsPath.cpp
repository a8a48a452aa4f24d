#include "config/SettingsPath.h"

#include <system_error>
#include <vector>

namespace calidus {

namespace fs = std::filesystem;

namespace {

bool sameFolder(const fs::path& a, const fs::path& b) {
    return (a / "").lexically_normal() == (b / "").lexically_normal();
}

std::optional<fs::path> absoluteFolder(const std::optional<std::string>& value) {
    if (!value || value->empty() || !fs::path(*value).is_absolute()) {
        return std::nullopt;
    }
    return fs::path(*value);
}

}  // namespace

fs::path settingsPathFor(const fs::path& programPath) {
    fs::path path = programPath;
    // Only the file name's own suffix counts: a folder named "tools.exe" must not move the file.
    if (path.extension() == ".exe") {
        return path.replace_extension(".ini");
    }
    path += ".ini";
    return path;
}

fs::path settingsFileFor(std::string_view programName, const SettingsPlace& place,
                         const FileExists& exists) {
    if (place.program.empty()) {
        return {};
    }
    const fs::path beside = settingsPathFor(place.program);
    if (!sameFolder(place.program.parent_path(), place.installedProgramFolder) || exists(beside)) {
        return beside;
    }
    std::optional<fs::path> configHome = absoluteFolder(place.xdgConfigHome);
    if (!configHome) {
        const std::optional<fs::path> home = absoluteFolder(place.home);
        if (!home) {
            return {};
        }
        configHome = *home / ".config";
    }
    return *configHome / "calidus" / (std::string(programName) + ".ini");
}

bool createFolderFor(const fs::path& file) {
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path folder = file.parent_path(); !folder.empty() && !fs::exists(folder, error);
         folder = folder.parent_path()) {
        missing.push_back(folder);
        if (folder == folder.parent_path()) {
            break;
        }
    }
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
        if (!fs::create_directory(*folder, error) && error) {
            return false;
        }
        fs::permissions(*folder, fs::perms::owner_all, error);
    }
    return true;
}

}  // namespace calidus
