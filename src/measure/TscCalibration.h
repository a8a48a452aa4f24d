#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace calidus {

// The last five measurements of the time-stamp rate in kHz. A rate is published only when all
// five agree with their average within 25 kHz, so one disturbed window changes nothing.
class TscRing {
  public:
    static constexpr std::size_t kEntries = 5;
    static constexpr std::uint64_t kAgreementKHz = 25;

    void fill(std::uint64_t kHz);
    bool filled() const { return filled_; }
    // Replaces the oldest entry; answers the average when every entry agrees with it.
    std::optional<std::uint64_t> add(std::uint64_t kHz);

  private:
    std::array<std::uint64_t, kEntries> entries_{};
    std::uint64_t sum_ = 0;
    std::size_t index_ = 0;
    bool filled_ = false;
};

// The rate of one pass for the ring: v, measured against the high-resolution counter, unless
// the two sleep-timed rates p125 and p250 agree within 0.2 % and v is 2 MHz or more away from
// p250; then p250.
std::uint64_t ringRate(std::uint64_t p125, std::uint64_t p250, std::uint64_t v);

// Rates above this are a counter that jumped, not a clock.
inline constexpr double kHighestPlausibleMHz = 100000.0;

// The time-stamp rate in MHz over an interval of the high-resolution counter; nothing when the
// counter or the time-stamp counter did not advance, or the rate is no clock's.
std::optional<double> tscMegahertz(std::uint64_t tscTicks, std::int64_t counterTicks,
                                   std::int64_t counterFrequency);

}  // namespace calidus
