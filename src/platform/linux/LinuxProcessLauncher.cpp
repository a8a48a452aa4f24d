#include "platform/linux/LinuxProcessLauncher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

extern char** environ;

namespace calidus {

namespace {

void closeQuietly(int fd) {
    while (close(fd) < 0 && errno == EINTR) {
    }
}

// Only async-signal-safe calls: the parent has other threads. The exec error, if any, goes
// back through the pipe, which closes by itself when the exec succeeds.
[[noreturn]] void runDetached(const char* program, int report) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild != 0) {
        _exit(grandchild < 0 ? 1 : 0);
    }
    char* const argv[] = {const_cast<char*>(program), nullptr};
    execve(program, argv, environ);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(report, &error, sizeof error);
    _exit(127);
}

}  // namespace

LinuxProcessLauncher::LinuxProcessLauncher()
    : LinuxProcessLauncher([] { return geteuid() == 0; }) {}

LinuxProcessLauncher::LinuxProcessLauncher(RootCheck runningAsRoot)
    : runningAsRoot_(std::move(runningAsRoot)) {}

LaunchResult LinuxProcessLauncher::startDetached(const std::filesystem::path& program) {
    struct stat info {};
    if (stat(program.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {LaunchOutcome::NotFound, std::strerror(ENOENT)};
        }
        return {LaunchOutcome::Failed, std::strerror(errno)};
    }
    if (runningAsRoot_()) {
        return {LaunchOutcome::Failed, "not started while running as root"};
    }
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        return {LaunchOutcome::Failed, std::strerror(errno)};
    }
    const std::string path = program.string();
    const pid_t child = fork();
    if (child == 0) {
        closeQuietly(report[0]);
        runDetached(path.c_str(), report[1]);
    }
    const int forkError = errno;
    closeQuietly(report[1]);
    if (child < 0) {
        closeQuietly(report[0]);
        return {LaunchOutcome::Failed, std::strerror(forkError)};
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int execError = 0;
    ssize_t got = 0;
    do {
        got = read(report[0], &execError, sizeof execError);
    } while (got < 0 && errno == EINTR);
    closeQuietly(report[0]);
    if (got == static_cast<ssize_t>(sizeof execError)) {
        return {LaunchOutcome::Failed, std::strerror(execError)};
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {LaunchOutcome::Failed, "could not start a process"};
    }
    return {};
}

}  // namespace calidus
