#include "config/DataFolders.h"

#include <array>

namespace calidus {

std::filesystem::path findDataFile(std::string_view name, DataFileKind kind,
                                   const DataFolders& folders, const FileExists& exists) {
    const std::array<const std::filesystem::path*, 3> order = {
        kind == DataFileKind::Sound ? &folders.current : nullptr, &folders.program,
        &folders.installed};
    for (const std::filesystem::path* folder : order) {
        if (folder != nullptr && !folder->empty() && exists(*folder / name)) {
            return *folder / name;
        }
    }
    return {};
}

}  // namespace calidus
