// One pinned register read through the msr devices, as the monitoring cycle does per core:
// pin, yield, read, unpin. The devices are sparse files, so this measures our own path and the
// system calls, not the kernel module's RDMSR.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "cpu/ProcessorAccess.h"
#include "platform/linux/LinuxCommandRunner.h"
#include "platform/linux/LinuxDriverLibrary.h"
#include "platform/linux/LinuxScheduler.h"

namespace {

using namespace calidus;

std::filesystem::path makeDeviceTree(std::uint32_t processMask) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() /
                                       ("calidus-bench-" + std::to_string(std::random_device{}()));
    for (int cpu = 0; cpu < 32; ++cpu) {
        if (processMask & (1u << cpu)) {
            const std::filesystem::path device = root / std::to_string(cpu) / "msr";
            std::filesystem::create_directories(device.parent_path());
            std::ofstream{device};
            std::filesystem::resize_file(device, 0x2000);
        }
    }
    return root;
}

void BM_PinnedDriverRead(benchmark::State& state) {
    auto scheduler = std::make_unique<LinuxScheduler>();
    const AffinityMasks masks = scheduler->affinityMasks();
    const std::filesystem::path root = makeDeviceTree(masks.process);
    Platform platform;
    platform.scheduler = std::move(scheduler);
    platform.driver = std::make_unique<LinuxDriverLibrary>(
        root.string(), std::make_unique<LinuxCommandRunner>(), [] { return false; });
    ProcessorAccess access(platform);
    access.setSystemMask(masks.process);
    const std::uint32_t firstProcessor = masks.process & (~masks.process + 1);

    for (auto _ : state) {
        access.pinToProcessor(firstProcessor);
        benchmark::DoNotOptimize(access.readMsr(0x19C));
        access.unpin();
    }

    platform.driver->stop();
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_PinnedDriverRead);

}  // namespace
