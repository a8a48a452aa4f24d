#pragma once

#include "platform/Processor.h"

namespace calidus {

class LinuxProcessor : public Processor {
  public:
    CpuidResult cpuid(std::uint32_t leaf, std::uint32_t subleaf) override;
    std::uint64_t rdtsc() override;
};

}  // namespace calidus
