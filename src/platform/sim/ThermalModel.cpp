#include "platform/sim/ThermalModel.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace calidus {

namespace {

constexpr double kIdleDistance = 58.0;  // an idle core sits this far below TjMax
constexpr double kFullLoadRise = 36.0;  // and full load brings it this much closer
constexpr double kLagSeconds = 4.0;     // time constant of warming and cooling
// Cores of one die never read alike; these small offsets keep them apart.
constexpr std::array<double, 7> kCoreOffset{0.0, 2.0, -1.0, 3.0, 1.0, -2.0, 2.0};

}  // namespace

ThermalModel::ThermalModel(std::vector<std::uint32_t> coreOfProcessor)
    : coreOfProcessor_(std::move(coreOfProcessor)), heat_(coreOfProcessor_.size(), 0.0) {}

void ThermalModel::advance(int processor, double activity, double seconds) {
    double& heat = heat_[static_cast<std::size_t>(processor)];
    const double target = kFullLoadRise * std::clamp(activity, 0.0, 1.0);
    heat += (target - heat) * (1.0 - std::exp(-std::max(seconds, 0.0) / kLagSeconds));
}

int ThermalModel::distanceBelowTjMax(int processor) const {
    const double offset =
        kCoreOffset[coreOfProcessor_[static_cast<std::size_t>(processor)] % kCoreOffset.size()];
    const double distance = kIdleDistance + offset - heat_[static_cast<std::size_t>(processor)];
    return static_cast<int>(std::clamp(std::lround(distance), 0L, 127L));
}

}  // namespace calidus
