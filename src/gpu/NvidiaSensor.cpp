#include "gpu/NvidiaSensor.h"

#include <algorithm>

namespace calidus {

namespace {

constexpr std::uint32_t kHighestValidTemperature = 127;

}  // namespace

std::unique_ptr<NvidiaSensor> NvidiaSensor::create(NvidiaLibrary& library, std::time_t now) {
    if (library.load() != 0) {
        return nullptr;
    }
    std::string version;
    std::uint32_t count = 0;
    if (library.driverVersion(version) != 0 || library.enumerateGpus(count) != 0 || count == 0) {
        library.unload();
        return nullptr;
    }
    return std::unique_ptr<NvidiaSensor>(new NvidiaSensor(library, count, std::move(version), now));
}

NvidiaSensor::NvidiaSensor(NvidiaLibrary& library, std::uint32_t count, std::string driverVersion,
                           std::time_t now)
    : library_(library), driverVersion_(std::move(driverVersion)), gpus_(count), names_(count) {
    for (std::uint32_t gpu = 0; gpu < count; ++gpu) {
        gpus_[gpu].reset(now);
        library_.fullName(gpu, names_[gpu]);
    }
}

NvidiaSensor::~NvidiaSensor() {
    library_.unload();
}

void NvidiaSensor::read(std::time_t now) {
    hottest_ = 0;
    bool failed = false;
    for (std::uint32_t gpu = 0; gpu < gpuCount(); ++gpu) {
        std::uint32_t temperature = 0;
        if (library_.temperature(gpu, temperature) != 0 || temperature > kHighestValidTemperature) {
            failed = true;
            continue;
        }
        gpus_[gpu].note(static_cast<int>(temperature), now);
        hottest_ = std::max(hottest_, temperature);
    }
    if (failed) {
        hottest_ = lastHottest_;
    } else {
        lastHottest_ = hottest_;
    }
}

void NvidiaSensor::reset(std::time_t now) {
    for (GpuExtremes& gpu : gpus_) {
        gpu.reset(now);
    }
    hottest_ = 0;
}

std::uint32_t NvidiaSensor::linkWidth(std::uint32_t gpu) const {
    std::uint32_t lanes = 0;
    return library_.pcieLinkWidth(gpu, lanes) == 0 ? lanes : 0;
}

std::uint32_t NvidiaSensor::memoryMegabytes(std::uint32_t gpu) const {
    std::uint32_t kilobytes = 0;
    return library_.frameBufferKilobytes(gpu, kilobytes) == 0 ? kilobytes >> 10 : 0;
}

}  // namespace calidus
