#include "measure/ClockFigure.h"

namespace calidus {

namespace {
constexpr std::uint32_t kHalfRatioDisplay = 1u << 15;
constexpr double kVidStep = 0.0125;
constexpr double kMobileVidBase = 0.7125;
constexpr double kDesktopVidBase = 0.825;
}  // namespace

ClockFigure clockFigure(double tscMHz, double multiplier, double maxRatio,
                        std::optional<std::uint64_t> perfStatus) {
    ClockFigure figure{.coreMHz = tscMHz * multiplier / maxRatio,
                       .busMHz = tscMHz / maxRatio,
                       .multiplier = multiplier};
    if (perfStatus) {
        const auto low = static_cast<std::uint32_t>(*perfStatus);
        const auto maximum = static_cast<double>((*perfStatus >> 40) & 0x1F);
        if ((low & kHalfRatioDisplay) != 0 && 2 * multiplier < maximum) {
            figure.busMHz *= 0.5;
            figure.multiplier *= 2;
        }
    }
    return figure;
}

double vidVolts(std::uint32_t perfStatusLow, bool mobile) {
    return (perfStatusLow & 0x3F) * kVidStep + (mobile ? kMobileVidBase : kDesktopVidBase);
}

}  // namespace calidus
