#include "platform/linux/Spawn.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/linux/RunAs.h"

extern char** environ;

namespace calidus {

namespace {

bool executable(const std::string& file) {
    std::error_code error;
    return access(file.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(file, error);
}

// Signals ignored or blocked here (a broken pipe is ignored) must not stay so in the child.
constexpr int kDefaultSignals[] = {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD};

void resetSignals(posix_spawnattr_t& attributes) {
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : kDefaultSignals) {
        sigaddset(&defaults, signal);
    }
    posix_spawnattr_setsigdefault(&attributes, &defaults);
}

const char* pathOf(const std::vector<std::string>* environment) {
    if (environment == nullptr) {
        return std::getenv("PATH");
    }
    for (const std::string& entry : *environment) {
        if (entry.starts_with("PATH=")) {
            return entry.c_str() + 5;
        }
    }
    return nullptr;
}

// posix_spawn cannot change the user, so this child is forked; after the fork it makes only
// calls that are safe in the child of a process with threads.
std::optional<pid_t> forkAsUser(const std::string& program, char* const* arguments,
                                char* const* environment, const SpawnOptions& options) {
    const UserAccount& user = *options.user;
    const int devNull = options.quiet ? ::open("/dev/null", O_RDWR | O_CLOEXEC) : -1;
    sigset_t none;
    sigemptyset(&none);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    const pid_t child = fork();
    if (child == 0) {
        for (const int signal : kDefaultSignals) {
            sigaction(signal, &defaultAction, nullptr);
        }
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (options.ownSession) {
            setsid();
        }
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        if (setgroups(user.groups.size(), user.groups.data()) != 0 || setgid(user.gid) != 0 ||
            setuid(user.uid) != 0) {
            _exit(127);
        }
        execve(program.c_str(), arguments, environment);
        _exit(127);
    }
    if (devNull >= 0) {
        ::close(devNull);
    }
    return child > 0 ? std::optional(child) : std::nullopt;
}

}  // namespace

std::optional<std::string> findProgram(const std::string& name,
                                       const std::vector<std::string>* environment) {
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return executable(name) ? std::optional(name) : std::nullopt;
    }
    const char* path = pathOf(environment);
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
    const std::optional<std::string> program =
        argv.empty() ? std::nullopt : findProgram(argv[0], options.environment);
    if (!program) {
        return std::nullopt;
    }
    std::vector<char*> arguments;
    for (const std::string& argument : argv) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);
    std::vector<char*> environment;
    if (options.environment != nullptr) {
        for (const std::string& entry : *options.environment) {
            environment.push_back(const_cast<char*>(entry.c_str()));
        }
        environment.push_back(nullptr);
    }
    char* const* childEnvironment = options.environment != nullptr ? environment.data() : environ;
    if (options.user != nullptr) {
        return forkAsUser(*program, arguments.data(), childEnvironment, options);
    }

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
    const int error = posix_spawn(&child, program->c_str(), &actions, &attributes, arguments.data(),
                                  childEnvironment);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? std::optional(child) : std::nullopt;
}

bool spawnDetached(const std::vector<std::string>& argv, SpawnOptions options) {
    // Found here, since the shell would report a missing program only on its error output.
    const std::optional<std::string> program =
        argv.empty() ? std::nullopt : findProgram(argv[0], options.environment);
    if (!program) {
        return false;
    }
    std::vector<std::string> shell{"/bin/sh", "-c", "\"$@\" &", "sh", *program};
    shell.insert(shell.end(), argv.begin() + 1, argv.end());
    options.ownSession = true;
    options.quiet = true;
    const std::optional<pid_t> starter = spawnProgram(shell, options);
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
