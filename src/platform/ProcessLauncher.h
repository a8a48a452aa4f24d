#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

using ProcessId = int;

// Why a run as root starts no program and opens no web page, and what to do instead.
inline constexpr std::string_view kNotStartedAsRoot =
    "Nothing is started as root, and no user who asked for root is known (PKEXEC_UID, "
    "SUDO_UID). Run the program as yourself, or through sudo or pkexec, to let it start "
    "programs and web pages as you.";

// Starts other programs, in the current folder. Nothing is ever started
// as root: a root run starts them as the user who asked for root, or refuses (kNotStartedAsRoot).
class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;

    // Leaves the program running on its own, with no arguments: nothing waits for it and it
    // outlives us.
    virtual LaunchResult startDetached(const std::filesystem::path& program) = 0;
    // Starts the program in a session of its own and keeps it; nothing when it did not start.
    virtual std::optional<ProcessId> start(const std::filesystem::path& program,
                                           const std::vector<std::string>& arguments) = 0;
    // Whether a program of start() still runs; one that has ended is reaped here.
    virtual bool running(ProcessId process) = 0;
    // Asks the program's process group to end, forces it after the grace, and reaps it.
    virtual void end(ProcessId process, std::chrono::milliseconds grace) = 0;
    // Bit n for logical processor n; false when the system refused it.
    virtual bool setAffinity(ProcessId process, std::uint32_t mask) = 0;
};

}  // namespace calidus
