#include "platform/linux/msr/MsrModuleLoader.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace calidus {

namespace {

bool runToEnd(const std::string& program) {
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return false;
    }
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::string module = "msr";
    std::string path = program;
    char* const argv[] = {path.data(), module.data(), nullptr};
    char* const noEnvironment[] = {nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, noEnvironment);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool loadMsrModule(std::span<const std::string_view> loaders) {
    for (const std::string_view loader : loaders) {
        const std::string program(loader);
        if (!program.empty() && program.front() == '/' && access(program.c_str(), X_OK) == 0) {
            return runToEnd(program);
        }
    }
    return false;
}

}  // namespace calidus
