#pragma once

#include <cstdint>
#include <vector>

namespace calidus {

// Each logical processor's sensor: warms toward a level set by how busy it is and cools back,
// with a lag of a few seconds so that readings move smoothly from tick to tick.
class ThermalModel {
  public:
    // The core of each logical processor: threads of one core read alike when alike busy.
    explicit ThermalModel(std::vector<std::uint32_t> coreOfProcessor);

    // `activity` (0..1, load times clock-modulation duty) held for the last `seconds`.
    void advance(int processor, double activity, double seconds);

    // Degrees below TjMax the sensor reads now (0..127).
    int distanceBelowTjMax(int processor) const;

  private:
    std::vector<std::uint32_t> coreOfProcessor_;
    std::vector<double> heat_;  // degrees above idle, per processor; a machine starts idle
};

}  // namespace calidus
