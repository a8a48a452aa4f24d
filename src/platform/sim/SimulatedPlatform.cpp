#include "platform/sim/SimulatedPlatform.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/FallbackDriverLibrary.h"
#include "platform/KernelSensorDriver.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/sim/ClockModulationRecord.h"
#include "platform/sim/DescriptionParser.h"
#include "platform/sim/LoadingLauncher.h"
#include "platform/sim/SimAdlLibrary.h"
#include "platform/sim/SimCoretempTree.h"
#include "platform/sim/SimDriver.h"
#include "platform/sim/SimLibraryLoader.h"
#include "platform/sim/SimNvidiaLibrary.h"
#include "platform/sim/SimProcessLauncher.h"
#include "platform/sim/SimProcessor.h"
#include "platform/sim/SimScheduler.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimSoundPlayer.h"

namespace calidus {

namespace {

struct DescriptionText {
    std::string text;
    std::string error;
};

DescriptionText descriptionText(const std::string& nameOrFile) {
    const std::vector<BuiltInModel> models = builtInModels();
    const auto model = std::find_if(models.begin(), models.end(),
                                    [&](const BuiltInModel& m) { return m.name == nameOrFile; });
    if (model != models.end()) {
        return {model->description, {}};
    }
    // A device or a pipe (--simulate /dev/zero) could block or never end.
    constexpr std::uintmax_t kLargestDescription = 1024 * 1024;
    std::error_code error;
    if (!std::filesystem::exists(nameOrFile, error)) {
        return {{}, nameOrFile + ": neither a built-in model (see --list-models) nor a file"};
    }
    if (!std::filesystem::is_regular_file(nameOrFile, error)) {
        return {{}, nameOrFile + ": a machine description must be a regular file"};
    }
    const std::uintmax_t size = std::filesystem::file_size(nameOrFile, error);
    if (size == 0) {
        return {{}, nameOrFile + ": the description file is empty"};
    }
    if (size > kLargestDescription) {
        return {{}, nameOrFile + ": larger than a machine description can be (1024 KiB)"};
    }
    std::ifstream file(nameOrFile, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        return {{}, nameOrFile + ": the description file cannot be read"};
    }
    return {text.str(), {}};
}

}  // namespace

Platform makeSimulatedPlatform(MachineDescription description, SimulationHost host) {
    Platform platform;
    platform.libraries = std::make_unique<SimLibraryLoader>();
    platform.nvidia = std::make_unique<SimNvidiaLibrary>(description);
    platform.adl = std::make_unique<SimAdlLibrary>(description);
    auto machine = std::make_shared<SimMachine>(std::move(description), std::move(host.clock),
                                                std::move(host.load));
    platform.driver = std::make_unique<SimDriver>(machine);
    if (machine->description().coretemp) {
        platform.driver = std::make_unique<FallbackDriverLibrary>(
            std::move(platform.driver), [machine]() -> std::unique_ptr<DriverLibrary> {
                auto tree = std::make_shared<SimCoretempTree>(machine);
                return std::make_unique<KernelSensorDriver>(
                    [tree](std::uint32_t processor) { return tree->read(processor); },
                    [tree](std::uint32_t processor) { return tree->clockMHz(processor); });
            });
    }
    platform.processor = std::make_unique<SimProcessor>(machine);
    platform.scheduler = std::make_unique<SimScheduler>(machine, std::move(host.scheduler));
    std::unique_ptr<ProcessLauncher> launcher = std::move(host.launcher);
    if (!launcher) {
        launcher = std::make_unique<SimProcessLauncher>();
    }
    platform.launcher = std::make_unique<LoadingLauncher>(machine, std::move(launcher));
    platform.sound = std::make_unique<SimSoundPlayer>();
    platform.shell = std::make_unique<SimShell>();
    return platform;
}

SimulatedMachineLoad loadSimulatedMachine(const std::string& nameOrFile) {
    DescriptionText source = descriptionText(nameOrFile);
    if (!source.error.empty()) {
        return {{}, source.error};
    }
    DescriptionParse parse = parseMachineDescription(source.text);
    if (!parse.description) {
        return {{}, nameOrFile + ": " + parse.error};
    }
    // The program keeps its own clock and processor-time counter; the machine gets a second
    // pair, so that its look at the load does not consume the program's.
    Platform real = makeLinuxPlatform();
    Platform host = makeLinuxPlatform();
    if (!real.clock || !real.processorTime || !host.scheduler || !host.clock ||
        !host.processorTime) {
        return {{}, "the simulated machine needs the real machine's clock and scheduler"};
    }
    Platform platform = makeSimulatedPlatform(
        std::move(*parse.description), {std::move(host.scheduler), std::move(host.clock),
                                        std::move(host.processorTime), std::move(real.launcher)});
    if (const char* record = std::getenv("CALIDUS_CLOCK_MODULATION_RECORD");
        record != nullptr && *record != '\0') {
        platform.driver =
            std::make_unique<ClockModulationRecord>(std::move(platform.driver), record);
    }
    platform.clock = std::move(real.clock);
    platform.processorTime = std::move(real.processorTime);
    platform.shell = std::move(real.shell);
    return {std::move(platform), {}};
}

}  // namespace calidus
