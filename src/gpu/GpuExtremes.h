#pragma once

#include <ctime>

namespace calidus {

// The lowest and highest valid temperature of one GPU or adapter, degrees Celsius, with when
// each was set.
struct GpuExtremes {
    static constexpr int kNoMinimum = 256;

    int minTemp = kNoMinimum;
    int maxTemp = 0;
    std::time_t minTime = 0;
    std::time_t maxTime = 0;

    bool hasMinimum() const { return minTemp != kNoMinimum; }
    void note(int temperature, std::time_t now) {
        if (temperature < minTemp) {
            minTemp = temperature;
            minTime = now;
        }
        if (temperature > maxTemp) {
            maxTemp = temperature;
            maxTime = now;
        }
    }
    void reset(std::time_t now) { *this = {kNoMinimum, 0, now, now}; }
};

}  // namespace calidus
