#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/DriverLibrary.h"
#include "platform/KernelReading.h"

namespace calidus {

// Read-only stand-in for the registers when only the kernel's coretemp files can be read: the
// thermal status is made from a core's reading (distance to TjMax = critical - input; the status
// bit when the core is at or above it; the log bit from the critical alarm) and the temperature
// target from its critical value, the value the kernel itself took from that register. No other
// register reads and nothing is ever written. The clock is the kernel's (cpufreq).
class KernelSensorDriver : public DriverLibrary {
  public:
    using Sensor = std::function<std::optional<KernelReading>(std::uint32_t processor)>;
    using ClockMHz = std::function<double(std::uint32_t processor)>;

    KernelSensorDriver(Sensor sensor, ClockMHz clock)
        : sensor_(std::move(sensor)), clock_(std::move(clock)) {}

    void start() override {}
    std::uint32_t status() override { return 0; }
    bool msrAvailable() override { return true; }
    bool readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                 std::uint32_t& high) override;
    bool writeMsr(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) override {
        return false;
    }
    void stop() override {}
    bool readOnly() const override { return true; }
    double kernelClockMHz(std::uint32_t processor) override { return clock_(processor); }

  private:
    Sensor sensor_;
    ClockMHz clock_;
};

}  // namespace calidus
