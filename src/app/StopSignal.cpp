#include "app/StopSignal.h"

#include <atomic>
#include <csignal>

namespace calidus {

namespace {

// The signal may arrive on any thread of the process; a lock-free atomic is safe both in the
// handler and between threads.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onStopSignal(int) {
    stopRequested.store(true);
}

}  // namespace

void installStopSignals() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
#ifdef SIGPIPE
    // A reader that goes away must not end the run before its shutdown restored the
    // processor: the write fails instead, and the front end ends the run.
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool stopSignalled() {
    return stopRequested.load();
}

}  // namespace calidus
