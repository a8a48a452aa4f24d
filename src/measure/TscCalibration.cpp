#include "measure/TscCalibration.h"

namespace calidus {

namespace {
constexpr std::uint64_t kAgreementLow = 998;
constexpr std::uint64_t kAgreementHigh = 1002;
constexpr std::uint64_t kSleepTimedPreferredFrom = 2000;  // kHz

std::uint64_t distance(std::uint64_t a, std::uint64_t b) {
    return a > b ? a - b : b - a;
}
}  // namespace

void TscRing::fill(std::uint64_t kHz) {
    entries_.fill(kHz);
    sum_ = kHz * kEntries;
    index_ = 0;
    filled_ = true;
}

std::optional<std::uint64_t> TscRing::add(std::uint64_t kHz) {
    index_ = (index_ + 1) % kEntries;
    sum_ = sum_ - entries_[index_] + kHz;
    entries_[index_] = kHz;
    const std::uint64_t average = sum_ / kEntries;
    for (const std::uint64_t entry : entries_) {
        if (distance(entry, average) > kAgreementKHz) {
            return std::nullopt;
        }
    }
    return average;
}

std::uint64_t ringRate(std::uint64_t p125, std::uint64_t p250, std::uint64_t v) {
    if (p125 == 0) {
        return v;
    }
    const std::uint64_t agreement = p250 * 1000 / p125;
    if (agreement >= kAgreementLow && agreement <= kAgreementHigh &&
        distance(p250, v) >= kSleepTimedPreferredFrom) {
        return p250;
    }
    return v;
}

std::optional<double> tscMegahertz(std::uint64_t tscTicks, std::int64_t counterTicks,
                                   std::int64_t counterFrequency) {
    if (tscTicks == 0 || counterTicks <= 0 || counterFrequency <= 0) {
        return std::nullopt;
    }
    const double megahertz = static_cast<double>(tscTicks) * static_cast<double>(counterFrequency) /
                             (static_cast<double>(counterTicks) * 1e6);
    if (megahertz > kHighestPlausibleMHz) {
        return std::nullopt;
    }
    return megahertz;
}

}  // namespace calidus
