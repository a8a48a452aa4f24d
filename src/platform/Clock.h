#pragma once

#include <cstdint>
#include <ctime>

namespace calidus {

class Clock {
public:
    virtual ~Clock() = default;

    virtual std::int64_t counter() = 0;           // high-resolution counter
    virtual std::int64_t counterFrequency() = 0;  // its counts per second
    virtual std::uint32_t tickCount() = 0;        // milliseconds, wraps
    virtual std::time_t now() = 0;
    virtual std::tm localTime(std::time_t when) = 0;
};

}  // namespace calidus
