#pragma once

namespace calidus {

// SIGINT and SIGTERM ask the running program to end through its normal shutdown.
void installStopSignals();
bool stopSignalled();

}  // namespace calidus
