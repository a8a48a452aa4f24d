#pragma once

#include <memory>
#include <string>

#include "platform/DriverLibrary.h"
#include "platform/RegisterAccessProblem.h"
#include "platform/sim/SimMachine.h"

namespace calidus {

// The driver library of the simulated machine: its status and registers as described. A
// described authentication is answered at the start as the person would answer pkexec's; a
// locked-down kernel refuses every write. Both say so as the Linux driver does.
class SimDriver : public DriverLibrary {
  public:
    explicit SimDriver(std::shared_ptr<SimMachine> machine);

    void start() override;
    std::uint32_t status() override;
    bool msrAvailable() override;
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override;
    bool writeMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t low,
                  std::uint32_t high) override;
    void stop() override {}
    std::string takeNotice() override;

  private:
    bool authorised() const { return problem_ == RegisterAccessProblem::None; }

    std::shared_ptr<SimMachine> machine_;
    RegisterAccessProblem problem_ = RegisterAccessProblem::None;
    bool writesLockedSaid_ = false;
    std::string notice_;
};

}  // namespace calidus
