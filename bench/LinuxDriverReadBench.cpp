// One register read through the msr devices, as the monitoring cycle makes two per core. The
// devices are sparse files, so this measures our own path and the system calls, not the kernel
// module's RDMSR. The pinned form is how a read reached its core before reads named their
// processor: pin, yield, read, unpin.

#include <benchmark/benchmark.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "FakeDeviceTree.h"
#include "common/Registers.h"
#include "cpu/ProcessorAccess.h"
#include "platform/linux/InProcessRegisters.h"
#include "platform/linux/LinuxDriverLibrary.h"
#include "platform/linux/LinuxScheduler.h"

namespace {

using namespace calidus;

// The last processor the process may use, so that the pinned form really moves the thread.
struct DeviceRig {
    DeviceRig() {
        auto scheduler = std::make_unique<LinuxScheduler>();
        masks = scheduler->affinityMasks();
        root = makeDeviceTree(masks.process);
        platform.scheduler = std::move(scheduler);
        platform.driver = std::make_unique<LinuxDriverLibrary>(
            std::make_unique<InProcessRegisters>(root.string(), [] { return false; }));
        platform.driver->start();
        access.setSystemMask(masks.process);
        processor = 31 - static_cast<std::uint32_t>(std::countl_zero(masks.process));
    }
    ~DeviceRig() {
        platform.driver->stop();
        std::filesystem::remove_all(root);
    }

    AffinityMasks masks;
    std::filesystem::path root;
    Platform platform;
    ProcessorAccess access{platform};
    std::uint32_t processor = 0;
};

void BM_DriverRead(benchmark::State& state) {
    DeviceRig rig;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rig.access.readMsr(rig.processor, msr::kThermStatus));
    }
}
BENCHMARK(BM_DriverRead);

void BM_PinnedDriverRead(benchmark::State& state) {
    DeviceRig rig;
    for (auto _ : state) {
        rig.access.pinToProcessor(1u << rig.processor);
        benchmark::DoNotOptimize(rig.access.readMsr(rig.processor, msr::kThermStatus));
        rig.access.unpin();
    }
}
BENCHMARK(BM_PinnedDriverRead);

}  // namespace
