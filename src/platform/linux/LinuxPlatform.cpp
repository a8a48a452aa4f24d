#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/LinuxAdlLibrary.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxDriverLibrary.h"
#include "platform/linux/LinuxLibraryLoader.h"
#include "platform/linux/LinuxProcessLauncher.h"
#include "platform/linux/LinuxProcessor.h"
#include "platform/linux/LinuxProcessorTimeCounter.h"
#include "platform/linux/LinuxScheduler.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/NvmlLibrary.h"

namespace calidus {

Platform makeLinuxPlatform() {
    Platform platform;
    platform.driver = LinuxDriverLibrary::forThisUser();
    platform.processor = std::make_unique<LinuxProcessor>();
    platform.scheduler = std::make_unique<LinuxScheduler>();
    platform.clock = std::make_unique<LinuxClock>();
    platform.processorTime = std::make_unique<LinuxProcessorTimeCounter>();
    platform.launcher = std::make_unique<LinuxProcessLauncher>();
    platform.shell = std::make_unique<LinuxShell>();
    platform.libraries = std::make_unique<LinuxLibraryLoader>();
    platform.nvidia = std::make_unique<NvmlLibrary>(*platform.libraries);
    platform.adl = std::make_unique<LinuxAdlLibrary>(*platform.libraries);
    return platform;
}

}  // namespace calidus
