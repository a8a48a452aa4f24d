#include "platform/linux/MsrHelperClient.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/linux/msr/FdChannel.h"

namespace calidus {

namespace {

// pkexec's own exit statuses.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorised = 127;

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

RegisterAccessProblem fromGreeting(MsrStatus status) {
    switch (status) {
        case MsrStatus::Ok:
            return RegisterAccessProblem::None;
        case MsrStatus::NoDevices:
            return RegisterAccessProblem::NoDevices;
        case MsrStatus::DeviceUnavailable:
            return RegisterAccessProblem::DevicesRefused;
        default:
            return RegisterAccessProblem::HelperFailed;
    }
}

}  // namespace

MsrHelperClient::MsrHelperClient(std::vector<std::string> command) : command_(std::move(command)) {}

MsrHelperClient::~MsrHelperClient() {
    finish();
}

RegisterAccessProblem MsrHelperClient::start() {
    int input[2];
    int output[2];
    if (command_.empty() || pipe2(input, O_CLOEXEC) != 0) {
        return RegisterAccessProblem::LauncherMissing;
    }
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return RegisterAccessProblem::LauncherMissing;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    std::vector<char*> argv;
    for (std::string& argument : command_) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    toHelper_ = input[1];
    fromHelper_ = output[0];
    if (spawned != 0) {
        finish();
        return RegisterAccessProblem::LauncherMissing;
    }
    pid_ = pid;
    channel_ = std::make_unique<FdChannel>(fromHelper_, toHelper_);

    HelperRecord greeting;
    greeting.magic = 0;
    if (receive({&greeting, 1}) && greeting.magic == HelperRecord::kMagic &&
        greeting.operation == HelperOperation::Greeting &&
        greeting.index == HelperRecord::kVersion) {
        processors_ = greeting.processor;
        const RegisterAccessProblem problem = fromGreeting(greeting.status);
        if (problem != RegisterAccessProblem::None) {
            finish();
        }
        return problem;
    }
    switch (finish()) {
        case kPkexecDismissed:
            return RegisterAccessProblem::Dismissed;
        case kPkexecNotAuthorised:
            return RegisterAccessProblem::NotAuthorised;
        default:
            return RegisterAccessProblem::HelperFailed;
    }
}

bool MsrHelperClient::exchange(std::span<HelperRecord> records) {
    while (!records.empty()) {
        ++roundTrips_;
        const std::span<HelperRecord> batch =
            records.first(std::min(records.size(), kHelperBatchLimit));
        const bool answered = channel_ && channel_->write(std::as_bytes(batch)) && receive(batch);
        if (!answered) {
            for (HelperRecord& record : records) {
                record.status = MsrStatus::DeviceUnavailable;
            }
            // A helper that stopped answering is gone: reap it rather than write into its
            // closed pipe at every tick.
            finish();
            return false;
        }
        records = records.subspan(batch.size());
    }
    return true;
}

void MsrHelperClient::goodbye() {
    HelperRecord farewell;
    farewell.operation = HelperOperation::Goodbye;
    exchange({&farewell, 1});
    finish();
}

bool MsrHelperClient::receive(std::span<HelperRecord> records) {
    const std::span<std::byte> bytes = std::as_writable_bytes(records);
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const std::size_t got = channel_->read(bytes.subspan(filled));
        if (got == 0) {
            return false;
        }
        filled += got;
    }
    return true;
}

// Closes both pipes (the helper sees its input close) and waits for it; its exit status, or -1.
int MsrHelperClient::finish() {
    channel_.reset();
    closeIfOpen(toHelper_);
    closeIfOpen(fromHelper_);
    if (pid_ < 0) {
        return -1;
    }
    int status = 0;
    pid_t waited = 0;
    while ((waited = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return waited > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace calidus
