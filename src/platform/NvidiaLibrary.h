#pragma once

#include <cstdint>
#include <string>

namespace calidus {

// NVIDIA's driver library, loaded at run time when the machine has it. Every call answers a
// status: 0 is success, anything else a failure (the library's own code, or one of ours below).
// GPUs are numbered 0..count-1 in the order of the last enumeration.
class NvidiaLibrary {
  public:
    static constexpr int kEntryNotFound = -1;
    static constexpr int kLibraryNotFound = -2;
    static constexpr int kCallNotFound = -3;
    static constexpr int kNotLoaded = -4;
    static constexpr std::uint32_t kMaxGpus = 64;

    virtual ~NvidiaLibrary() = default;

    // Loads and initialises the library; once that succeeded, answers 0 at once.
    virtual int load() = 0;
    // The version exactly as the driver gives it ("535.104.05").
    virtual int driverVersion(std::string& version) = 0;
    // At most kMaxGpus.
    virtual int enumerateGpus(std::uint32_t& count) = 0;
    virtual int temperature(std::uint32_t gpu, std::uint32_t& celsius) = 0;
    virtual int fullName(std::uint32_t gpu, std::string& name) = 0;
    virtual int pcieLinkWidth(std::uint32_t gpu, std::uint32_t& lanes) = 0;
    virtual int frameBufferKilobytes(std::uint32_t gpu, std::uint32_t& kilobytes) = 0;
    // Shuts the library down and lets it go; a later load starts again.
    virtual void unload() = 0;
};

}  // namespace calidus
