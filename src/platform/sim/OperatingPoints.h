#pragma once

#include <array>
#include <cstdint>

#include "platform/sim/MachineDescription.h"

namespace calidus {

// How fast a simulated processor runs. With a LowestRatio it runs from that ratio when idle up
// to its maximum when busy: on processors with MSR_PLATFORM_INFO the turbo limit of
// MSR_TURBO_RATIO_LIMIT for the number of busy cores, in whole steps; on older ones the
// maximum of IA32_PERF_STATUS, in half steps, which a flexible ratio (IA32_FLEX_RATIO with bit
// 16) lowers. The time-stamp counter counts at the non-turbo maximum, so a flexible ratio
// slows it too. Without a LowestRatio the ratio is the one IA32_PERF_STATUS describes.
class OperatingPoints {
  public:
    explicit OperatingPoints(const MachineDescription& description);

    bool speedSteps() const { return lowestRatio_ > 0.0; }
    // The ratio the time-stamp counter counts at.
    double tscRatio(std::uint64_t flexRatio) const;
    double tscHz(std::uint64_t flexRatio) const;
    // `perfStatus` is the register's described value, `activity` 0..1.
    double ratio(double activity, int busyCores, std::uint64_t flexRatio, std::uint64_t perfStatus,
                 std::uint64_t platformInfo) const;
    // IA32_PERF_STATUS as read: the described value with the current and maximum ratio fields
    // of the operating point.
    std::uint64_t perfStatus(std::uint64_t described, double ratio, std::uint64_t flexRatio) const;

  private:
    bool platformInfo_;
    double baseRatio_;  // the ratio TscMHz is given for
    double lowestRatio_;
    std::array<double, 8> turbo_{};  // by busy cores; 0 past the last limit
    double busMHz_;
};

}  // namespace calidus
