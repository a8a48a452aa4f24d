#include "platform/linux/LinuxShell.h"

#include <filesystem>

#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/Spawn.h"

namespace calidus {

namespace {

bool isWebAddress(const std::string& target) {
    return target.find("://") != std::string::npos || target.starts_with("mailto:");
}

}  // namespace

ShellOpen LinuxShell::open(const std::string& target) {
    std::error_code error;
    if (!isWebAddress(target) && !std::filesystem::exists(target, error)) {
        return ShellOpen::NotFound;
    }
    if (LinuxProcessLauncher::effectiveUserIsRoot() || !spawnDetached({"xdg-open", target})) {
        return ShellOpen::Failed;
    }
    return ShellOpen::Opened;
}

}  // namespace calidus
