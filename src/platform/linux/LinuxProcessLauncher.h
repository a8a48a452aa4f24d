#pragma once

#include "platform/ProcessLauncher.h"
#include "platform/linux/RunAs.h"
#include "platform/linux/Spawn.h"

namespace calidus {

// posix_spawn of the program file, with standard input and output on /dev/null so that no
// program writes into the console's readings; never as root (decideRunAs).
class LinuxProcessLauncher : public ProcessLauncher {
  public:
    LinuxProcessLauncher();
    explicit LinuxProcessLauncher(const ProcessIdentity& identity);

    LaunchResult startDetached(const std::filesystem::path& program) override;
    std::optional<ProcessId> start(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments) override;
    bool running(ProcessId process) override;
    void end(ProcessId process, std::chrono::milliseconds grace) override;
    bool setAffinity(ProcessId process, std::uint32_t mask) override;

  private:
    // The program as a path the spawn takes as it is, or why it cannot start.
    LaunchResult check(const std::filesystem::path& program, std::string& file) const;

    SpawnOptions spawnOptions() const;

    RunAs runAs_;
};

}  // namespace calidus
