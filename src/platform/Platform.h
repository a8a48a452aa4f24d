#pragma once

#include <memory>

#include "platform/Clock.h"
#include "platform/DriverLibrary.h"
#include "platform/ProcessLauncher.h"
#include "platform/Processor.h"
#include "platform/ProcessorTimeCounter.h"
#include "platform/Scheduler.h"
#include "platform/SoundPlayer.h"

namespace calidus {

// Every call that leaves the program goes through one of these.
struct Platform {
    std::unique_ptr<DriverLibrary> driver;
    std::unique_ptr<Processor> processor;
    std::unique_ptr<Scheduler> scheduler;
    std::unique_ptr<Clock> clock;
    std::unique_ptr<ProcessorTimeCounter> processorTime;
    std::unique_ptr<ProcessLauncher> launcher;  // none: no program is started
    std::unique_ptr<SoundPlayer> sound;         // none: nothing is played
};

}  // namespace calidus
