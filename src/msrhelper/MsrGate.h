#pragma once

#include <cstdint>
#include <map>

#include "msrhelper/MsrDevices.h"

namespace calidus {

// Every register access of the programs passes here: the allow-list decides, the value before
// a write is read so that no protected bit changes, and a write that would change nothing is
// not made (the kernel logs every write and marks itself tainted).
class MsrGate {
  public:
    explicit MsrGate(MsrDevices& devices) : devices_(devices) {}

    // `value` is left as it was unless the read succeeds.
    MsrStatus read(std::uint32_t processor, std::uint32_t index, std::uint64_t& value);
    MsrStatus write(std::uint32_t processor, std::uint32_t index, std::uint64_t value);

    // Writes back the clock modulation each processor had before this gate first changed it:
    // what the program would have done had it not been killed.
    void restoreClockModulation();

  private:
    MsrDevices& devices_;
    std::map<std::uint32_t, std::uint64_t> clockModulationBefore_;  // by processor
};

}  // namespace calidus
