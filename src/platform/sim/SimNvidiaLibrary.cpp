#include "platform/sim/SimNvidiaLibrary.h"

namespace calidus {

namespace {

constexpr int kInvalidArgument = 2;
constexpr int kUnknownError = 999;

}  // namespace

SimNvidiaLibrary::SimNvidiaLibrary(const MachineDescription& machine)
    : state_(machine.nvidiaLibrary), driver_(machine.nvidiaDriver) {
    for (const GpuDescription& gpu : machine.gpus) {
        if (gpu.vendor == GpuVendor::Nvidia) {
            cards_.emplace_back(gpu);
        }
    }
}

int SimNvidiaLibrary::load() {
    if (state_ == GpuLibraryState::Missing) {
        return kLibraryNotFound;
    }
    if (state_ == GpuLibraryState::Failing) {
        return kUnknownError;
    }
    loaded_ = true;
    return 0;
}

int SimNvidiaLibrary::usable(std::uint32_t gpu, std::string_view call) const {
    if (!loaded_) {
        return kNotLoaded;
    }
    if (gpu >= cards_.size()) {
        return kInvalidArgument;
    }
    return cards_[gpu].fails(call) ? kUnknownError : 0;
}

int SimNvidiaLibrary::driverVersion(std::string& version) {
    if (!loaded_) {
        return kNotLoaded;
    }
    version = driver_;
    return 0;
}

int SimNvidiaLibrary::enumerateGpus(std::uint32_t& count) {
    if (!loaded_) {
        return kNotLoaded;
    }
    count = static_cast<std::uint32_t>(std::min<std::size_t>(cards_.size(), kMaxGpus));
    return 0;
}

int SimNvidiaLibrary::temperature(std::uint32_t gpu, std::uint32_t& celsius) {
    const int status = usable(gpu, "temperature");
    if (status == 0) {
        celsius = static_cast<std::uint32_t>(cards_[gpu].nextTemperature());
    }
    return status;
}

int SimNvidiaLibrary::fullName(std::uint32_t gpu, std::string& name) {
    const int status = usable(gpu, "name");
    if (status == 0) {
        name = cards_[gpu].description().name;
    }
    return status;
}

int SimNvidiaLibrary::pcieLinkWidth(std::uint32_t gpu, std::uint32_t& lanes) {
    const int status = usable(gpu, "linkwidth");
    if (status == 0) {
        lanes = static_cast<std::uint32_t>(cards_[gpu].description().linkWidth);
    }
    return status;
}

int SimNvidiaLibrary::frameBufferKilobytes(std::uint32_t gpu, std::uint32_t& kilobytes) {
    const int status = usable(gpu, "memory");
    if (status == 0) {
        kilobytes = static_cast<std::uint32_t>(cards_[gpu].description().memoryMegabytes) << 10;
    }
    return status;
}

void SimNvidiaLibrary::unload() {
    loaded_ = false;
}

}  // namespace calidus
