#pragma once

#include <filesystem>
#include <string>

namespace calidus {

enum class LaunchOutcome {
    Started,
    NotFound,  // no file at that path
    Failed,    // the file is there but did not start (not executable, no permission, refused)
};

struct LaunchResult {
    LaunchOutcome outcome = LaunchOutcome::Started;
    std::string reason;  // why it failed, for a person to read
};

// Starts other programs.
class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;

    // Starts the program with no arguments in the current folder and leaves it running on its
    // own: nothing waits for it and it outlives us.
    virtual LaunchResult startDetached(const std::filesystem::path& program) = 0;
};

}  // namespace calidus
