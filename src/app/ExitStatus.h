#pragma once

namespace calidus {

// What a run answers the shell. The window keeps 0 after a fatal start-up error (it has shown
// its box); the console, which scripts call, tells each kind of failure apart.
enum class ExitStatus : int {
    Ok = 0,  // the ticks were done, a stop signal arrived, or the window was closed
    Usage = 2,
    Refused = 3,       // the processor is not supported
    DriverError = 4,   // no register access, or no memory for the run
    OutputClosed = 5,  // nobody reads the console's output any more
    SettingsNotSaved = 6,
    BenchmarkFailed = 7,  // the benchmark's checksum did not match
};

inline int exitCode(ExitStatus status) {
    return static_cast<int>(status);
}

}  // namespace calidus
