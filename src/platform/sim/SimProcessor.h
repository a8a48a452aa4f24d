#pragma once

#include <memory>

#include "platform/Processor.h"
#include "platform/sim/SimMachine.h"

namespace calidus {

// CPUID and RDTSC of the simulated logical processor the calling thread runs on.
class SimProcessor : public Processor {
  public:
    explicit SimProcessor(std::shared_ptr<SimMachine> machine) : machine_(std::move(machine)) {}

    CpuidResult cpuid(std::uint32_t leaf, std::uint32_t subleaf) override {
        return machine_->cpuid(leaf, subleaf);
    }
    std::uint64_t rdtsc() override { return machine_->rdtsc(); }

  private:
    std::shared_ptr<SimMachine> machine_;
};

}  // namespace calidus
