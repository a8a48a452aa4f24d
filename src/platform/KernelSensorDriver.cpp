#include "platform/KernelSensorDriver.h"

#include <algorithm>

#include "common/Registers.h"

namespace calidus {

namespace {

using msr::kTemperatureTarget;
constexpr std::uint32_t kThermalStatus = msr::kThermStatus;
constexpr std::uint32_t kReadingValid = 1u << 31;
constexpr std::uint32_t kStatusBit = 1u << 0;
constexpr std::uint32_t kLogBit = 1u << 1;
constexpr int kMilli = 1000;

}  // namespace

bool KernelSensorDriver::readMsr(std::uint32_t processor, std::uint32_t index, std::uint32_t& low,
                                 std::uint32_t& high) {
    if (index != kThermalStatus && index != kTemperatureTarget) {
        return false;
    }
    const std::optional<KernelReading> reading = sensor_(processor);
    if (!reading) {
        return false;
    }
    const int critical = std::clamp(reading->critical / kMilli, 0, 0x7F);
    if (index == kTemperatureTarget) {
        low = static_cast<std::uint32_t>(critical) << 16;
        high = 0;
        return true;
    }
    const int distance = std::clamp((reading->critical - reading->input) / kMilli, 0, 0x7F);
    low = kReadingValid | static_cast<std::uint32_t>(distance) << 16 |
          (reading->input >= reading->critical ? kStatusBit : 0) |
          (reading->criticalAlarm ? kLogBit : 0);
    high = 0;
    return true;
}

}  // namespace calidus
