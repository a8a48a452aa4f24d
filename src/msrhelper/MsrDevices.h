#pragma once

#include <cstdint>

#include "msrhelper/MsrStatus.h"

namespace calidus {

// The msr devices of the logical processors, without any rule: the gate decides what reaches
// them. Accesses answer Ok, DeviceUnavailable, AccessFailed or WritesLocked.
class MsrDevices {
  public:
    virtual ~MsrDevices() = default;

    virtual bool present(std::uint32_t processor) const = 0;
    virtual MsrStatus read(std::uint32_t processor, std::uint32_t index, std::uint64_t& value) = 0;
    virtual MsrStatus write(std::uint32_t processor, std::uint32_t index, std::uint64_t value) = 0;
};

}  // namespace calidus
