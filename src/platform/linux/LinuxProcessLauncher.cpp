#include "platform/linux/LinuxProcessLauncher.h"

#include <sched.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/linux/CpuList.h"

namespace calidus {

namespace {

constexpr std::chrono::milliseconds kEndPoll{5};

enum class ChildState { Running, Ended };

// Reaps the child when it has ended; one that is not ours counts as ended.
ChildState poll(ProcessId process) {
    while (true) {
        int status = 0;
        const pid_t answer = waitpid(process, &status, WNOHANG);
        if (answer == 0) {
            return ChildState::Running;
        }
        if (answer > 0 || errno != EINTR) {
            return ChildState::Ended;
        }
    }
}

}  // namespace

LinuxProcessLauncher::LinuxProcessLauncher() : LinuxProcessLauncher(thisProcess()) {}

LinuxProcessLauncher::LinuxProcessLauncher(const ProcessIdentity& identity)
    : runAs_(decideRunAs(identity)) {}

SpawnOptions LinuxProcessLauncher::spawnOptions() const {
    return {.ownSession = true,
            .quiet = true,
            .environment = &runAs_.environment,
            .user = runAs_.user ? &*runAs_.user : nullptr};
}

LaunchResult LinuxProcessLauncher::check(const std::filesystem::path& program,
                                         std::string& file) const {
    struct stat info {};
    if (stat(program.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {LaunchOutcome::NotFound, std::strerror(ENOENT)};
        }
        return {LaunchOutcome::Failed, std::strerror(errno)};
    }
    if (!runAs_.refusal.empty()) {
        return {LaunchOutcome::Failed, runAs_.refusal};
    }
    if (!S_ISREG(info.st_mode) || access(program.c_str(), X_OK) != 0) {
        return {LaunchOutcome::Failed, std::strerror(EACCES)};
    }
    // A bare name is a file in the current folder, not a program on PATH.
    file = program.has_parent_path() ? program.string() : "./" + program.string();
    return {};
}

LaunchResult LinuxProcessLauncher::startDetached(const std::filesystem::path& program) {
    std::string file;
    const LaunchResult checked = check(program, file);
    if (checked.outcome != LaunchOutcome::Started) {
        return checked;
    }
    if (!spawnDetached({file}, spawnOptions())) {
        return {LaunchOutcome::Failed, "could not start a process"};
    }
    return {};
}

std::optional<ProcessId> LinuxProcessLauncher::start(const std::filesystem::path& program,
                                                     const std::vector<std::string>& arguments) {
    std::string file;
    if (check(program, file).outcome != LaunchOutcome::Started) {
        return std::nullopt;
    }
    std::vector<std::string> argv{file};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return spawnProgram(argv, spawnOptions());
}

bool LinuxProcessLauncher::running(ProcessId process) {
    return process > 0 && poll(process) == ChildState::Running;
}

void LinuxProcessLauncher::end(ProcessId process, std::chrono::milliseconds grace) {
    // Never 0 or below: kill would reach our own process group, or every process.
    if (process <= 0 || poll(process) == ChildState::Ended) {
        return;
    }
    kill(-process, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll(process) == ChildState::Ended) {
            return;
        }
        std::this_thread::sleep_for(kEndPoll);
    }
    kill(-process, SIGKILL);
    waitForExit(process);
}

bool LinuxProcessLauncher::setAffinity(ProcessId process, std::uint32_t mask) {
    const cpu_set_t set = cpuSetOf(mask);
    return process > 0 && sched_setaffinity(process, sizeof set, &set) == 0;
}

}  // namespace calidus
