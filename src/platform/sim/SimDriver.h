#pragma once

#include <memory>

#include "platform/DriverLibrary.h"
#include "platform/sim/SimMachine.h"

namespace calidus {

// The driver library of the simulated machine: its status and registers as described.
class SimDriver : public DriverLibrary {
  public:
    explicit SimDriver(std::shared_ptr<SimMachine> machine);

    void start() override {}
    std::uint32_t status() override;
    bool msrAvailable() override;
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override;
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override;
    void stop() override {}

  private:
    std::shared_ptr<SimMachine> machine_;
};

}  // namespace calidus
