#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The benchmark's workload written once more as plain C, for comparison. */
uint64_t plainBenchLoop(int count, int64_t seedTime);

#ifdef __cplusplus
}
#endif
