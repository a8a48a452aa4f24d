#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>

#include "platform/StopSignals.h"

namespace calidus {

namespace {

constexpr int kStopSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1, SIGUSR2, SIGALRM};

// The handler may run on any thread; it only stores a lock-free flag and writes one byte.
std::atomic<bool> stopRequested{false};
std::atomic<int> wakeRead{-1};
std::atomic<int> wakeWrite{-1};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

extern "C" void onStopSignal(int) {
    const int savedErrno = errno;
    stopRequested.store(true);
    const char byte = 1;
    // A full pipe already wakes every reader.
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite.load(), &byte, 1);
    errno = savedErrno;
}

}  // namespace

void installStopSignals() {
    if (wakeRead.load() < 0) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
            wakeRead.store(fds[0]);
            wakeWrite.store(fds[1]);
        }
    }
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kStopSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    // A reader that goes away must not end the run before its shutdown restored the processor:
    // the write fails instead, and the front end ends the run.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, nullptr);
}

bool stopSignalled() {
    return stopRequested.load();
}

void waitUnlessStopSignalled(std::chrono::milliseconds duration) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + duration;
    while (!stopSignalled()) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(end - Clock::now());
        if (left.count() <= 0) {
            return;
        }
        const timespec timeout{static_cast<time_t>(left.count() / 1'000'000'000),
                               static_cast<long>(left.count() % 1'000'000'000)};
        pollfd wake{.fd = wakeRead.load(), .events = POLLIN, .revents = 0};
        // Interrupted by a signal or woken by the pipe: the loop looks at the flag again.
        ::ppoll(&wake, wake.fd >= 0 ? 1 : 0, &timeout, nullptr);
    }
}

int stopSignalDescriptor() {
    return wakeRead.load();
}

}  // namespace calidus
