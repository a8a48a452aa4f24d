#pragma once

#include <filesystem>
#include <string_view>

#include "config/SettingsPath.h"

namespace calidus {

enum class DataFileKind { Sound, PlugIn };

// Where the warning sound and the plug-in files may be; an empty folder is skipped.
struct DataFolders {
    std::filesystem::path current;    // the working folder
    std::filesystem::path program;    // the running program's folder
    std::filesystem::path installed;  // the data folder of the prefix the program was built for
};

// The first folder holding the file: the current folder (the sound only), the program's folder,
// then the installed data folder. Empty when none holds it.
std::filesystem::path findDataFile(std::string_view name, DataFileKind kind,
                                   const DataFolders& folders, const FileExists& exists);

}  // namespace calidus
