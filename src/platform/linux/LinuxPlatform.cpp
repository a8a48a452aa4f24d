#include "platform/linux/LinuxPlatform.h"

#include "platform/FallbackDriverLibrary.h"
#include "platform/KernelSensorDriver.h"
#include "platform/linux/CoretempSensors.h"
#include "platform/linux/CpufreqClock.h"
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

namespace {

// The kernel's coretemp sensors, or nothing when the machine has none (not Intel, virtual).
std::unique_ptr<DriverLibrary> kernelSensors() {
    auto sensors = std::make_shared<CoretempSensors>("/sys");
    if (!sensors->found()) {
        return nullptr;
    }
    return std::make_unique<KernelSensorDriver>(
        [sensors](std::uint32_t processor) { return sensors->read(processor); },
        [](std::uint32_t processor) { return cpufreqClockMHz("/sys", processor); });
}

}  // namespace

Platform makeLinuxPlatform() {
    Platform platform;
    platform.driver =
        std::make_unique<FallbackDriverLibrary>(LinuxDriverLibrary::forThisUser(), kernelSensors);
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
