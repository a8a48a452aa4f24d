#include "platform/linux/Spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>

extern char** environ;

namespace calidus {

namespace {

bool executable(const std::string& file) {
    std::error_code error;
    return access(file.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(file, error);
}

// Signals ignored or blocked here (a broken pipe is ignored) must not stay so in the child.
void resetSignals(posix_spawnattr_t& attributes) {
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD}) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
}

}  // namespace

std::optional<std::string> findProgram(const std::string& name) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return executable(name) ? std::optional(name) : std::nullopt;
    }
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        const std::string file =
            (folder.empty() ? std::string(".") : std::string(folder)) + "/" + name;
        if (executable(file)) {
            return file;
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        folders.remove_prefix(colon + 1);
    }
}

std::optional<pid_t> spawnProgram(const std::vector<std::string>& argv, SpawnOptions options) {
    const std::optional<std::string> program = argv.empty() ? std::nullopt : findProgram(argv[0]);
    if (!program) {
        return std::nullopt;
    }
    std::vector<char*> arguments;
    for (const std::string& argument : argv) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.quiet) {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    resetSignals(attributes);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (options.ownSession) {
        flags |= POSIX_SPAWN_SETSID;
    }
    posix_spawnattr_setflags(&attributes, flags);

    pid_t child = 0;
    const int error =
        posix_spawn(&child, program->c_str(), &actions, &attributes, arguments.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? std::optional(child) : std::nullopt;
}

bool spawnDetached(const std::vector<std::string>& argv) {
    // Found here, since the shell would report a missing program only on its error output.
    const std::optional<std::string> program = argv.empty() ? std::nullopt : findProgram(argv[0]);
    if (!program) {
        return false;
    }
    std::vector<std::string> shell{"/bin/sh", "-c", "\"$@\" &", "sh", *program};
    shell.insert(shell.end(), argv.begin() + 1, argv.end());
    const std::optional<pid_t> starter = spawnProgram(shell, {.ownSession = true, .quiet = true});
    return starter && waitForExit(*starter) == 0;
}

int waitForExit(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

}  // namespace calidus
