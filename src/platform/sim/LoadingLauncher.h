#pragma once

#include <memory>

#include "platform/ProcessLauncher.h"
#include "platform/sim/SimMachine.h"

namespace calidus {

// Starts programs through another launcher, and lets each kept program load the simulated
// processors of its affinity (all at first) until it is seen to end, as a stress program would.
class LoadingLauncher : public ProcessLauncher {
  public:
    LoadingLauncher(std::shared_ptr<SimMachine> machine, std::unique_ptr<ProcessLauncher> inner);

    LaunchResult startDetached(const std::filesystem::path& program) override;
    std::optional<ProcessId> start(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments) override;
    bool running(ProcessId process) override;
    void end(ProcessId process, std::chrono::milliseconds grace) override;
    bool setAffinity(ProcessId process, std::uint32_t mask) override;

  private:
    std::shared_ptr<SimMachine> machine_;
    std::unique_ptr<ProcessLauncher> inner_;
};

}  // namespace calidus
