#pragma once

#include <functional>
#include <optional>

#include "app/EngineSettings.h"
#include "common/Edition.h"
#include "platform/Platform.h"

namespace calidus {

struct WindowRun {
    EngineSettings engineSettings;        // the settings file the engine reads and writes
    std::optional<long long> ticks;       // stop after this many ticks
    std::function<bool()> stopRequested;  // SIGINT or SIGTERM arrived
};

// Whether a display is there to open the window on.
bool windowDisplayAvailable();

// The program's window: starts the engine, drives its timer and ends through the normal
// shutdown when the window, the tray, a stop signal or the tick limit ends the run. Answers the
// exit code.
int runWindowFrontEnd(const Edition& edition, Platform& platform, WindowRun run, int& argc,
                      char** argv);

}  // namespace calidus
