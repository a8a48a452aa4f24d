#pragma once

#include <cstdint>
#include <ctime>

namespace calidus {

// What benchLoop answers for count 1 whatever the seed time: the last table value read depends
// only on the fixed reseed.
constexpr std::uint32_t kBenchLoopChecksum = 0xA75DB931;

// The benchmark's workload: count × 20,000,000 steps of a 48-bit linear congruential generator
// shuffling a 128-entry table, the table first filled from seedTime (seconds since the epoch).
std::uint64_t benchLoop(int count, std::time_t seedTime);

}  // namespace calidus
