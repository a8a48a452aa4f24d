#pragma once

#include <cstdint>

#include "msrhelper/MsrStatus.h"

namespace calidus {

// The only registers the programs may touch, and the bits of those they may change. The helper
// and the in-process driver both ask this one table, so no path can reach another register.

// Ok for the registers the program reads, ReadNotAllowed otherwise.
MsrStatus checkRead(std::uint32_t index);

// Whether the program writes the register at all.
bool writable(std::uint32_t index);

// Whether `requested` may replace `current`: Unchanged when they are equal (and the rule holds),
// Ok when the change keeps to the register's writable bits, otherwise the refusal.
MsrStatus checkWrite(std::uint32_t index, std::uint64_t current, std::uint64_t requested);

}  // namespace calidus
