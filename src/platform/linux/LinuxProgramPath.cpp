#include <system_error>

#include "platform/ProgramPath.h"

namespace calidus {

std::filesystem::path programPath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : path;
}

}  // namespace calidus
