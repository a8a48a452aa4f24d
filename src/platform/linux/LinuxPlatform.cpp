#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxDriverLibrary.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/LinuxProcessor.h"
#include "platform/linux/LinuxProcessorTimeCounter.h"
#include "platform/linux/LinuxScheduler.h"

namespace calidus {

Platform makeLinuxPlatform() {
    Platform platform;
    platform.driver = std::make_unique<LinuxDriverLibrary>();
    platform.processor = std::make_unique<LinuxProcessor>();
    platform.scheduler = std::make_unique<LinuxScheduler>();
    platform.clock = std::make_unique<LinuxClock>();
    platform.processorTime = std::make_unique<LinuxProcessorTimeCounter>();
    platform.launcher = std::make_unique<LinuxProcessLauncher>();
    return platform;
}

}  // namespace calidus
