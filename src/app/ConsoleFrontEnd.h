#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>

#include "app/Engine.h"

namespace calidus {

enum class ConsoleFormat { Lines, Json };

struct ConsoleRun {
    ConsoleFormat format = ConsoleFormat::Lines;
    std::optional<long long> ticks;  // end after this many ticks
    std::function<bool()> stopRequested;
    // Sleeps for the duration, or less when a stop is asked for meanwhile.
    std::function<void(std::chrono::milliseconds)> wait;
};

// Starts the engine, prints every tick until the tick count is reached, a stop is asked for
// or the output fails, and shuts the engine down. Answers the exit status (ExitStatus).
int runConsole(Engine& engine, const ConsoleRun& run, std::ostream& out, std::ostream& errors);

// The benchmark without a window: starts the engine, runs the benchmark on a thread of its own
// while the ticks go on (a stop request cancels it), prints the result text, or with the JSON
// format one JSON object, and shuts the engine down. Answers 0 when the checksum passed.
int runConsoleBenchmark(Engine& engine, const ConsoleRun& run, std::ostream& out,
                        std::ostream& errors);

}  // namespace calidus
