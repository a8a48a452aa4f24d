#include "app/StopSignal.h"

#include <csignal>

namespace calidus {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void onStopSignal(int) {
    stopRequested = 1;
}

}  // namespace

void installStopSignals() {
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
}

bool stopSignalled() {
    return stopRequested != 0;
}

}  // namespace calidus
