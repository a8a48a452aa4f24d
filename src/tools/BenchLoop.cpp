#include "tools/BenchLoop.h"

#include <array>

namespace calidus {

namespace {

constexpr std::uint64_t kMask48 = (std::uint64_t{1} << 48) - 1;
constexpr std::uint64_t kMultiplier = 0x5DEECE66D;
constexpr std::uint64_t kIncrement = 0xB;
constexpr std::uint64_t kFixedReseed = 0x68D94330E;
constexpr double kToUnit = 1.0 / 281474976710656.0;  // 2^-48
constexpr int kStepsPerCount = 20'000'000;

inline std::uint64_t advance(std::uint64_t state) {
    return (kMultiplier * state + kIncrement) & kMask48;
}

}  // namespace

std::uint64_t benchLoop(int count, std::time_t seedTime) {
    std::uint64_t state = ((static_cast<std::uint64_t>(seedTime) << 16) | 0x330E) & kMask48;
    std::array<double, 128> table{};
    for (double& entry : table) {
        state = advance(state);
        entry = static_cast<double>(state) * kToUnit;
    }
    state = kFixedReseed;
    double last = 0.0;
    const long long steps = static_cast<long long>(count) * kStepsPerCount;
    for (long long step = 0; step < steps; ++step) {
        state = advance(state);
        const auto index = static_cast<std::size_t>(state >> 41);
        last = table[index];
        state = advance(state);
        table[index] = static_cast<double>(state) * kToUnit;
    }
    return static_cast<std::uint64_t>(last * 4294967295.0);
}

}  // namespace calidus
