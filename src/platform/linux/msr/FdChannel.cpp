#include "platform/linux/msr/FdChannel.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace calidus {

namespace {

// Holds SIGPIPE back on this thread while it lives; a write to a closed pipe then fails with
// EPIPE, and the signal it left pending is taken away unless one was pending before.
class SigpipeBlock {
  public:
    SigpipeBlock() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~SigpipeBlock() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

    void dropRaised() {
        const timespec none{};
        while (!wasPending_ && sigtimedwait(&pipe_, nullptr, &none) < 0 && errno == EINTR) {
        }
    }

  private:
    sigset_t pipe_{};
    sigset_t previous_{};
    bool wasPending_ = false;
};

}  // namespace

std::size_t FdChannel::read(std::span<std::byte> buffer) {
    for (;;) {
        const ssize_t got = ::read(input_, buffer.data(), buffer.size());
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            return 0;
        }
    }
}

bool FdChannel::write(std::span<const std::byte> bytes) {
    SigpipeBlock block;
    while (!bytes.empty()) {
        const ssize_t put = ::write(output_, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            if (put < 0 && errno == EPIPE) {
                block.dropRaised();
            }
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(put));
    }
    return true;
}

}  // namespace calidus
