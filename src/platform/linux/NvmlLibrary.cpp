#include "platform/linux/NvmlLibrary.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace calidus {

namespace {

constexpr int kTemperatureGpu = 0;       // NVML_TEMPERATURE_GPU
constexpr int kInvalidArgument = 2;      // NVML_ERROR_INVALID_ARGUMENT
constexpr unsigned kNameLength = 96;     // NVML_DEVICE_NAME_V2_BUFFER_SIZE
constexpr unsigned kVersionLength = 80;  // NVML_SYSTEM_DRIVER_VERSION_BUFFER_SIZE

std::string textOf(const char* buffer, std::size_t size) {
    return std::string(buffer, strnlen(buffer, size));
}

}  // namespace

NvmlLibrary::NvmlLibrary(LibraryLoader& loader, std::vector<std::string> names)
    : loader_(loader), names_(std::move(names)) {}

NvmlLibrary::~NvmlLibrary() {
    unload();
}

template <typename Entry>
void NvmlLibrary::resolve(Entry& entry, const char* name) {
    entry = reinterpret_cast<Entry>(loader_.symbol(library_, name));
}

int NvmlLibrary::usable(bool found) const {
    if (!initialised_) {
        return kNotLoaded;
    }
    return found ? 0 : kCallNotFound;
}

template <typename Entry, typename Call>
int NvmlLibrary::onDevice(Entry entry, std::uint32_t gpu, Call call) const {
    if (const int status = usable(entry != nullptr)) {
        return status;
    }
    if (gpu >= devices_.size()) {
        return kInvalidArgument;
    }
    return call(entry, devices_[gpu]);
}

int NvmlLibrary::load() {
    if (initialised_) {
        return 0;
    }
    for (const std::string& name : names_) {
        library_ = loader_.open(name);
        if (library_ != nullptr) {
            break;
        }
    }
    if (library_ == nullptr) {
        return kLibraryNotFound;
    }
    // The versioned names are the ones the library exports for these calls.
    resolve(entries_.init, "nvmlInit_v2");
    resolve(entries_.shutdown, "nvmlShutdown");
    resolve(entries_.driverVersion, "nvmlSystemGetDriverVersion");
    resolve(entries_.count, "nvmlDeviceGetCount_v2");
    resolve(entries_.handleByIndex, "nvmlDeviceGetHandleByIndex_v2");
    resolve(entries_.temperature, "nvmlDeviceGetTemperature");
    resolve(entries_.name, "nvmlDeviceGetName");
    resolve(entries_.linkWidth, "nvmlDeviceGetCurrPcieLinkWidth");
    resolve(entries_.memory, "nvmlDeviceGetMemoryInfo");
    if (entries_.init == nullptr) {
        close();
        return kEntryNotFound;
    }
    const int status = entries_.init();
    if (status != 0) {
        close();
        return status;
    }
    initialised_ = true;
    return 0;
}

int NvmlLibrary::driverVersion(std::string& version) {
    if (const int status = usable(entries_.driverVersion != nullptr)) {
        return status;
    }
    char buffer[kVersionLength] = {};
    const int status = entries_.driverVersion(buffer, kVersionLength);
    if (status == 0) {
        version = textOf(buffer, sizeof buffer);
    }
    return status;
}

int NvmlLibrary::enumerateGpus(std::uint32_t& count) {
    devices_.clear();
    if (const int status = usable(entries_.count != nullptr && entries_.handleByIndex != nullptr)) {
        return status;
    }
    unsigned found = 0;
    if (const int status = entries_.count(&found)) {
        return status;
    }
    found = std::min<unsigned>(found, kMaxGpus);
    std::vector<DeviceHandle> handles(found, nullptr);
    for (unsigned index = 0; index < found; ++index) {
        if (const int status = entries_.handleByIndex(index, &handles[index])) {
            return status;
        }
    }
    devices_ = std::move(handles);
    count = found;
    return 0;
}

int NvmlLibrary::temperature(std::uint32_t gpu, std::uint32_t& celsius) {
    return onDevice(entries_.temperature, gpu, [&](auto entry, DeviceHandle device) {
        unsigned value = 0;
        const int status = entry(device, kTemperatureGpu, &value);
        if (status == 0) {
            celsius = value;
        }
        return status;
    });
}

int NvmlLibrary::fullName(std::uint32_t gpu, std::string& name) {
    return onDevice(entries_.name, gpu, [&](auto entry, DeviceHandle device) {
        char buffer[kNameLength] = {};
        const int status = entry(device, buffer, kNameLength);
        if (status == 0) {
            name = textOf(buffer, sizeof buffer);
        }
        return status;
    });
}

int NvmlLibrary::pcieLinkWidth(std::uint32_t gpu, std::uint32_t& lanes) {
    return onDevice(entries_.linkWidth, gpu, [&](auto entry, DeviceHandle device) {
        unsigned value = 0;
        const int status = entry(device, &value);
        if (status == 0) {
            lanes = value;
        }
        return status;
    });
}

// The library counts bytes; the monitor shows the frame buffer from kilobytes.
int NvmlLibrary::frameBufferKilobytes(std::uint32_t gpu, std::uint32_t& kilobytes) {
    return onDevice(entries_.memory, gpu, [&](auto entry, DeviceHandle device) {
        Memory memory{};
        const int status = entry(device, &memory);
        if (status == 0) {
            kilobytes = static_cast<std::uint32_t>(std::min<unsigned long long>(
                memory.total >> 10, std::numeric_limits<std::uint32_t>::max()));
        }
        return status;
    });
}

void NvmlLibrary::unload() {
    if (initialised_ && entries_.shutdown != nullptr) {
        entries_.shutdown();
    }
    initialised_ = false;
    close();
}

void NvmlLibrary::close() {
    devices_.clear();
    entries_ = {};
    loader_.close(library_);
    library_ = nullptr;
}

}  // namespace calidus
