#include "platform/linux/LinuxShell.h"

#include <filesystem>

#include "platform/linux/Spawn.h"

namespace calidus {

namespace {

bool isWebAddress(const std::string& target) {
    return target.find("://") != std::string::npos || target.starts_with("mailto:");
}

}  // namespace

LinuxShell::LinuxShell() : LinuxShell(thisProcess()) {}

LinuxShell::LinuxShell(const ProcessIdentity& identity) : runAs_(decideRunAs(identity)) {}

ShellOpen LinuxShell::open(const std::string& target) {
    std::error_code error;
    if (!isWebAddress(target) && !std::filesystem::exists(target, error)) {
        return ShellOpen::NotFound;
    }
    if (!runAs_.refusal.empty()) {
        return ShellOpen::Refused;
    }
    const SpawnOptions options{.environment = &runAs_.environment,
                               .user = runAs_.user ? &*runAs_.user : nullptr};
    return spawnDetached({"xdg-open", target}, options) ? ShellOpen::Opened : ShellOpen::Failed;
}

}  // namespace calidus
