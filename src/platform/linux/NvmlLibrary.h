#pragma once

#include <string>
#include <vector>

#include "platform/LibraryLoader.h"
#include "platform/NvidiaLibrary.h"

namespace calidus {

// The NVIDIA Management Library, found under the first of its names that loads. Its calls are
// declared here from the library's public reference: plain C, failures as positive codes.
class NvmlLibrary : public NvidiaLibrary {
  public:
    explicit NvmlLibrary(LibraryLoader& loader,
                         std::vector<std::string> names = {"libnvidia-ml.so.1", "libnvidia-ml.so"});
    ~NvmlLibrary() override;
    NvmlLibrary(const NvmlLibrary&) = delete;
    NvmlLibrary& operator=(const NvmlLibrary&) = delete;

    int load() override;
    int driverVersion(std::string& version) override;
    int enumerateGpus(std::uint32_t& count) override;
    int temperature(std::uint32_t gpu, std::uint32_t& celsius) override;
    int fullName(std::uint32_t gpu, std::string& name) override;
    int pcieLinkWidth(std::uint32_t gpu, std::uint32_t& lanes) override;
    int frameBufferKilobytes(std::uint32_t gpu, std::uint32_t& kilobytes) override;
    void unload() override;

  private:
    struct Device;
    using DeviceHandle = Device*;
    struct Memory {
        unsigned long long total;
        unsigned long long free;
        unsigned long long used;
    };
    struct Entries {
        int (*init)() = nullptr;
        int (*shutdown)() = nullptr;
        int (*driverVersion)(char*, unsigned) = nullptr;
        int (*count)(unsigned*) = nullptr;
        int (*handleByIndex)(unsigned, DeviceHandle*) = nullptr;
        int (*temperature)(DeviceHandle, int, unsigned*) = nullptr;
        int (*name)(DeviceHandle, char*, unsigned) = nullptr;
        int (*linkWidth)(DeviceHandle, unsigned*) = nullptr;
        int (*memory)(DeviceHandle, Memory*) = nullptr;
    };

    template <typename Entry>
    void resolve(Entry& entry, const char* name);
    // kNotLoaded, kCallNotFound or an unknown GPU; else what the call answers.
    template <typename Entry, typename Call>
    int onDevice(Entry entry, std::uint32_t gpu, Call call) const;
    int usable(bool found) const;
    void close();

    LibraryLoader& loader_;
    std::vector<std::string> names_;
    LibraryLoader::Handle library_ = nullptr;
    bool initialised_ = false;
    Entries entries_;
    std::vector<DeviceHandle> devices_;
};

}  // namespace calidus
