#include <system_error>

#include "platform/ProgramPath.h"

namespace calidus {

std::filesystem::path programPath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : path;
}

// The running program's path has its links resolved; so must the folder it is compared with.
std::filesystem::path installedProgramFolder() {
    std::error_code error;
    std::filesystem::path folder =
        std::filesystem::weakly_canonical(CALIDUS_INSTALLED_BINDIR, error);
    return error ? std::filesystem::path(CALIDUS_INSTALLED_BINDIR) : folder;
}

std::filesystem::path installedDataFolder() {
    return CALIDUS_INSTALLED_DATADIR;
}

}  // namespace calidus
