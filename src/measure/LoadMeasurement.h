#pragma once

#include <atomic>

#include "measure/RunPart.h"
#include "measure/WorkerThread.h"

namespace calidus {

// The load thread over the system's processor-time counter, started at start-up when "TMLoad"
// is on or the registers are out of reach; what it publishes is shown while "TMLoad" stays on,
// and always without the registers.
class LoadMeasurement : public RunPart {
  public:
    // While the settings are read.
    void startUp(RunContext& run) override;
    // "TM Load" applied from the Settings window: the thread starts unless it runs.
    void startWhenStopped(RunContext& run);
    // After the worker threads' stop handshake.
    void shutDown(RunContext& run) override;

    double percent() const { return percent_.load(); }

  private:
    std::atomic<double> percent_{0.0};
    WorkerThread thread_;  // last: it goes first, while what it uses is still there
};

}  // namespace calidus
