#include "platform/linux/LinuxClock.h"

#include <time.h>

namespace calidus {

namespace {

std::int64_t nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

std::int64_t LinuxClock::counter() {
    return nanoseconds(CLOCK_MONOTONIC_RAW);
}

std::uint32_t LinuxClock::tickCount() {
    return static_cast<std::uint32_t>(nanoseconds(CLOCK_MONOTONIC) / 1'000'000);
}

std::time_t LinuxClock::now() {
    return time(nullptr);
}

std::tm LinuxClock::localTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

}  // namespace calidus
