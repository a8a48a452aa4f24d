#pragma once

#include <memory>

#include "platform/Scheduler.h"
#include "platform/sim/SimMachine.h"

namespace calidus {

// Affinity on the simulated machine's processors; sleeping and priorities are the real
// machine's, so simulated threads still yield and wait for real.
class SimScheduler : public Scheduler {
  public:
    SimScheduler(std::shared_ptr<SimMachine> machine, std::unique_ptr<Scheduler> host);

    AffinityMasks affinityMasks() override;
    bool setProcessAffinity(std::uint32_t mask) override;
    bool setThreadAffinity(std::uint32_t mask) override;
    void setProcessPriority(ProcessPriority priority) override;
    void setThreadPriority(ThreadPriority priority) override;
    void sleep(std::chrono::milliseconds duration) override;

    // How often an affinity change moved the calling thread to another simulated processor.
    int migrations() const { return machine_->affinity().migrations(); }

  private:
    std::shared_ptr<SimMachine> machine_;
    std::unique_ptr<Scheduler> host_;
};

}  // namespace calidus
