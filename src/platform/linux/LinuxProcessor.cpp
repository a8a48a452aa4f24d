#include "platform/linux/LinuxProcessor.h"

#include <cpuid.h>
#include <x86intrin.h>

namespace calidus {

CpuidResult LinuxProcessor::cpuid(std::uint32_t leaf, std::uint32_t subleaf) {
    CpuidResult result;
    __cpuid_count(leaf, subleaf, result.eax, result.ebx, result.ecx, result.edx);
    return result;
}

std::uint64_t LinuxProcessor::rdtsc() {
    return __rdtsc();
}

}  // namespace calidus
