#pragma once

#include <functional>

#include "platform/ProcessLauncher.h"

namespace calidus {

// fork and exec, twice over, so the program is nobody's child of ours; never as root.
class LinuxProcessLauncher : public ProcessLauncher {
  public:
    using RootCheck = std::function<bool()>;

    LinuxProcessLauncher();
    explicit LinuxProcessLauncher(RootCheck runningAsRoot);

    LaunchResult startDetached(const std::filesystem::path& program) override;

  private:
    RootCheck runningAsRoot_;
};

}  // namespace calidus
