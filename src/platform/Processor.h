#pragma once

#include <cstdint>

namespace calidus {

struct CpuidResult {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

// Instructions executed on whatever logical processor the calling thread runs on.
class Processor {
public:
    virtual ~Processor() = default;

    virtual CpuidResult cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) = 0;
    virtual std::uint64_t rdtsc() = 0;
};

}  // namespace calidus
