#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProcessLauncher.h"

namespace calidus {

// What the file dialog says about the arguments a chosen program gets.
inline constexpr std::string_view kStressArgumentsNote =
    "mprime is started with -t and stress-ng with --cpu 0, so that they run their torture test "
    "on every processor; any other program is started without arguments.";

// Started without arguments, mprime opens its menu and stress-ng prints its usage and ends:
// these make them load every processor at once.
std::vector<std::string> stressArguments(const std::filesystem::path& program);

// The stress program of the sensor test: started in a process group of its own on every
// processor, watched by its process id, and ended through its group.
class StressProgram {
  public:
    static constexpr std::chrono::milliseconds kEndGrace{1500};

    explicit StressProgram(ProcessLauncher* launcher) : launcher_(launcher) {}
    StressProgram(const StressProgram&) = delete;
    StressProgram& operator=(const StressProgram&) = delete;
    ~StressProgram() { end(); }

    // False when it did not start; nothing runs then.
    bool start(const std::filesystem::path& program, std::uint32_t systemMask);
    // Whether it still runs; one that has ended (a zombie included) is reaped.
    bool alive();
    // Whether the test started it and has not ended it.
    bool started() const { return process_.has_value(); }
    void end();

  private:
    ProcessLauncher* launcher_;
    std::optional<ProcessId> process_;
};

}  // namespace calidus
