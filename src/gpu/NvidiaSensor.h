#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "gpu/GpuExtremes.h"
#include "platform/NvidiaLibrary.h"

namespace calidus {

// The NVIDIA temperature source: every GPU the library enumerates, read once per monitoring
// cycle. It lets the library go when it is destroyed.
class NvidiaSensor {
  public:
    // Loads the library, asks for the driver version and the GPUs; nullptr when a step failed
    // or there is no GPU, and the library is let go again.
    static std::unique_ptr<NvidiaSensor> create(NvidiaLibrary& library, std::time_t now);
    ~NvidiaSensor();
    NvidiaSensor(const NvidiaSensor&) = delete;
    NvidiaSensor& operator=(const NvidiaSensor&) = delete;

    // One monitoring cycle. A failed or implausible reading repeats the last good hottest.
    void read(std::time_t now);
    // Every GPU's extremes start again; hottest becomes 0.
    void reset(std::time_t now);

    int hottest() const { return static_cast<int>(hottest_); }
    std::uint32_t gpuCount() const { return static_cast<std::uint32_t>(gpus_.size()); }
    const GpuExtremes& extremes(std::uint32_t gpu) const { return gpus_[gpu]; }
    const std::string& driverVersion() const { return driverVersion_; }
    // Empty when the library did not name it.
    const std::string& name(std::uint32_t gpu) const { return names_[gpu]; }
    // 0 when the library cannot tell.
    std::uint32_t linkWidth(std::uint32_t gpu) const;
    std::uint32_t memoryMegabytes(std::uint32_t gpu) const;

  private:
    NvidiaSensor(NvidiaLibrary& library, std::uint32_t count, std::string driverVersion,
                 std::time_t now);

    NvidiaLibrary& library_;
    std::string driverVersion_;
    std::vector<GpuExtremes> gpus_;
    std::vector<std::string> names_;
    std::uint32_t hottest_ = 0;
    std::uint32_t lastHottest_ = 0;
};

}  // namespace calidus
