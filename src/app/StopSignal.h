#pragma once

namespace calidus {

// SIGINT and SIGTERM ask the running program to end through its normal shutdown; a closed
// output pipe does not kill it.
void installStopSignals();
bool stopSignalled();

}  // namespace calidus
