#pragma once

#include <string>
#include <vector>

#include "platform/NvidiaLibrary.h"
#include "platform/sim/MachineDescription.h"
#include "platform/sim/SimGpuCard.h"

namespace calidus {

// The NVIDIA library of a simulated machine: its nvidia cards, in description order.
class SimNvidiaLibrary : public NvidiaLibrary {
  public:
    explicit SimNvidiaLibrary(const MachineDescription& machine);

    int load() override;
    int driverVersion(std::string& version) override;
    int enumerateGpus(std::uint32_t& count) override;
    int temperature(std::uint32_t gpu, std::uint32_t& celsius) override;
    int fullName(std::uint32_t gpu, std::string& name) override;
    int pcieLinkWidth(std::uint32_t gpu, std::uint32_t& lanes) override;
    int frameBufferKilobytes(std::uint32_t gpu, std::uint32_t& kilobytes) override;
    void unload() override;

  private:
    // 0 when the call can be made on this GPU.
    int usable(std::uint32_t gpu, std::string_view call) const;

    GpuLibraryState state_;
    std::string driver_;
    std::vector<SimGpuCard> cards_;
    bool loaded_ = false;
};

}  // namespace calidus
