#pragma once

#include <map>

#include "platform/ProcessLauncher.h"

namespace calidus {

// Starts no program: each start is remembered as a process that runs until it is ended, or
// until it is let finish as a user closing it would.
class SimProcessLauncher : public ProcessLauncher {
  public:
    struct Process {
        std::filesystem::path program;
        std::vector<std::string> arguments;
        bool detached = false;
        bool running = false;
        std::uint32_t affinity = 0;  // 0 until set
    };

    LaunchResult startDetached(const std::filesystem::path& program) override;
    std::optional<ProcessId> start(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments) override;
    bool running(ProcessId process) override;
    void end(ProcessId process, std::chrono::milliseconds grace) override;
    bool setAffinity(ProcessId process, std::uint32_t mask) override;

    void finish(ProcessId process);
    // Every start in order, by id; detached programs have ids too.
    const std::map<ProcessId, Process>& processes() const { return processes_; }

  private:
    ProcessId record(const std::filesystem::path& program, bool detached);

    std::map<ProcessId, Process> processes_;
    ProcessId nextId_ = 1000;
};

}  // namespace calidus
