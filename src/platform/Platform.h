#pragma once

#include <memory>

#include "platform/AdlLibrary.h"
#include "platform/Clock.h"
#include "platform/DriverLibrary.h"
#include "platform/LibraryLoader.h"
#include "platform/NvidiaLibrary.h"
#include "platform/ProcessLauncher.h"
#include "platform/Processor.h"
#include "platform/ProcessorTimeCounter.h"
#include "platform/Scheduler.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"

namespace calidus {

// Every call that leaves the program goes through one of these (or through the free functions
// beside them: programPath, replaceFile). Without a GPU library member the machine has no card
// of that vendor.
struct Platform {
    std::unique_ptr<DriverLibrary> driver;
    std::unique_ptr<Processor> processor;
    std::unique_ptr<Scheduler> scheduler;
    std::unique_ptr<Clock> clock;  // also local time
    std::unique_ptr<ProcessorTimeCounter> processorTime;
    std::unique_ptr<ProcessLauncher> launcher;  // none: no program is started
    std::unique_ptr<SoundPlayer> sound;         // none: nothing is played
    std::unique_ptr<Shell> shell;
    // Before the GPU libraries, which load through it and so must go first.
    std::unique_ptr<LibraryLoader> libraries;
    std::unique_ptr<NvidiaLibrary> nvidia;
    std::unique_ptr<AdlLibrary> adl;
};

}  // namespace calidus
