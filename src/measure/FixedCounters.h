#pragma once

#include "cpu/ProcessorAccess.h"

namespace calidus {

// Keeps fixed counters 1 and 2 counting in user and kernel mode on every logical processor
// present, up to the highest one given.
void enableFixedCounters(ProcessorAccess& access, int highestLogicalProcessor);

}  // namespace calidus
