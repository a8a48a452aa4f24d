#pragma once

#include <chrono>

namespace calidus {

// The catchable signals whose default would end the process (HUP, INT, QUIT, TERM, USR1, USR2,
// ALRM) ask for the normal shutdown instead, so the processor is restored and the settings are
// saved; a closed output pipe does not kill the program. Install before any thread starts.
void installStopSignals();
bool stopSignalled();

// Sleeps for the duration, or less when a stop signal arrives: the program wakes on the signal
// itself, never by polling for it.
void waitUnlessStopSignalled(std::chrono::milliseconds duration);

// Becomes readable once a stop signal has arrived, for an event loop to watch; -1 before
// installStopSignals.
int stopSignalDescriptor();

}  // namespace calidus
