#include "platform/linux/LinuxCommandRunner.h"

#include "platform/linux/Spawn.h"

namespace calidus {

int LinuxCommandRunner::run(const std::vector<std::string>& argv) {
    const std::optional<pid_t> child = spawnProgram(argv, {});
    return child ? waitForExit(*child) : -1;
}

}  // namespace calidus
