#pragma once

#include <string>

#include "common/Edition.h"
#include "cpu/ProcessorAccess.h"

namespace calidus {

struct BrandReading {
    std::string brandString;  // empty when CPUID has no brand leaves
    std::string modelNumber;  // "-----" when the brand names no model
};

// Reads the brand on logical processor 0 and restores the system mask afterwards.
BrandReading readBrand(ProcessorAccess& access, const Edition& edition);

}  // namespace calidus
