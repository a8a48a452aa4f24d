#pragma once

#include "platform/Platform.h"

namespace calidus {

// The real machine: /dev/cpu/<n>/msr, CPUID, sched_setaffinity, CLOCK_MONOTONIC_RAW,
// posix_spawn, xdg-open, and the GPU libraries through dlopen.
Platform makeLinuxPlatform();

}  // namespace calidus
