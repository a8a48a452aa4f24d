#include "platform/sim/OperatingPoints.h"

#include <algorithm>
#include <cmath>

#include "common/Registers.h"

namespace calidus {

namespace {

using msr::kPerfStatus;
using msr::kPlatformInfo;
using msr::kTurboRatioLimit;
constexpr std::uint64_t kFlexEnabled = 1u << 16;
constexpr std::uint32_t kRatioField = 0x5F00;  // bits 12:8 and the half of bit 14

std::uint64_t described(const MachineDescription& machine, std::uint32_t index) {
    const auto it = machine.msr.find(index);
    return it == machine.msr.end() || it->second.empty() ? 0 : it->second.front();
}

double halfStepRatio(std::uint32_t word) {
    return static_cast<double>((word >> 8) & 0x1F) + ((word & 0x4000) != 0 ? 0.5 : 0.0);
}

std::uint32_t halfStepField(double ratio) {
    const auto whole = static_cast<std::uint32_t>(ratio);
    return (whole & 0x1F) << 8 | (ratio - whole >= 0.5 ? 0x4000u : 0u);
}

}  // namespace

OperatingPoints::OperatingPoints(const MachineDescription& description)
    : platformInfo_(((described(description, kPlatformInfo) >> 8) & 0xFF) != 0),
      baseRatio_(platformInfo_
                     ? static_cast<double>((described(description, kPlatformInfo) >> 8) & 0xFF)
                     : halfStepRatio(
                           static_cast<std::uint32_t>(described(description, kPerfStatus) >> 32))),
      lowestRatio_(description.lowestRatio),
      busMHz_(baseRatio_ > 0 ? description.tscMHz / baseRatio_ : description.tscMHz) {
    if (platformInfo_ && description.missing.count(kTurboRatioLimit) == 0) {
        const std::uint64_t limits = described(description, kTurboRatioLimit);
        for (std::size_t cores = 0; cores < turbo_.size(); ++cores) {
            turbo_[cores] = static_cast<double>((limits >> (8 * cores)) & 0xFF);
        }
    }
}

double OperatingPoints::tscRatio(std::uint64_t flexRatio) const {
    if (!platformInfo_ && (flexRatio & kFlexEnabled) != 0) {
        const double flex = halfStepRatio(static_cast<std::uint32_t>(flexRatio));
        if (flex > 0 && flex < baseRatio_) {
            return flex;
        }
    }
    return baseRatio_;
}

double OperatingPoints::tscHz(std::uint64_t flexRatio) const {
    return (baseRatio_ > 0 ? busMHz_ * tscRatio(flexRatio) : busMHz_) * 1e6;
}

double OperatingPoints::ratio(double activity, int busyCores, std::uint64_t flexRatio,
                              std::uint64_t perfStatus, std::uint64_t platformInfo) const {
    if (!speedSteps()) {
        const auto low = static_cast<std::uint32_t>(perfStatus);
        return ((platformInfo >> 8) & 0xFF) != 0 ? static_cast<double>(low & 0xFF)
                                                 : halfStepRatio(low);
    }
    double highest = tscRatio(flexRatio);
    if (platformInfo_) {
        const auto limit = static_cast<std::size_t>(std::clamp(busyCores, 1, 8) - 1);
        for (std::size_t cores = limit + 1; cores-- > 0;) {
            if (turbo_[cores] > 0) {
                highest = std::max(highest, turbo_[cores]);
                break;
            }
        }
    }
    const double lowest = std::min(lowestRatio_, highest);
    const double ratio = lowest + (highest - lowest) * std::clamp(activity, 0.0, 1.0);
    return platformInfo_ ? std::round(ratio) : std::round(ratio * 2) / 2;
}

std::uint64_t OperatingPoints::perfStatus(std::uint64_t described, double ratio,
                                          std::uint64_t flexRatio) const {
    if (!speedSteps()) {
        return described;
    }
    if (platformInfo_) {
        return (described & ~std::uint64_t{0xFF}) | static_cast<std::uint64_t>(ratio);
    }
    auto low = static_cast<std::uint32_t>(described);
    auto high = static_cast<std::uint32_t>(described >> 32);
    low = (low & ~kRatioField) | halfStepField(ratio);
    high = (high & ~kRatioField) | halfStepField(tscRatio(flexRatio));
    return std::uint64_t{high} << 32 | low;
}

}  // namespace calidus
