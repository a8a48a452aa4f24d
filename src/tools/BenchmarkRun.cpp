#include "tools/BenchmarkRun.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <nlohmann/json.hpp>

#include "common/Text.h"
#include "tools/BenchLoop.h"

namespace calidus {

namespace {

constexpr double kBaseScoreSeconds = 14630.0;
// Counter and tick count further apart than this: the counter is not trusted.
constexpr double kTimerTolerance = 0.016;

double roundedTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

}  // namespace

double BenchmarkResult::score() const {
    return seconds > 0.0 ? kBaseScoreSeconds / seconds : 0.0;
}

std::optional<BenchmarkResult> runBenchmark(const BenchmarkInputs& inputs,
                                            const std::function<void(int)>& progress) {
    if (inputs.clock.counterFrequency() <= 0) {
        return std::nullopt;
    }
    inputs.scheduler.setThreadAffinity(inputs.systemMask);
    inputs.scheduler.sleep(std::chrono::milliseconds(0));

    BenchmarkResult result;
    result.checksumPass = true;
    result.maxCoreMHz = inputs.figures.coreMHz();
    inputs.scheduler.sleep(std::chrono::milliseconds(0));
    const std::uint32_t t0 = inputs.clock.tickCount();
    const std::int64_t q0 = inputs.clock.counter();
    for (int i = 0; i < kBenchmarkSteps && !inputs.control.stopRequested(); ++i) {
        const std::uint64_t r = inputs.step();
        result.checksumPass =
            result.checksumPass && static_cast<std::uint32_t>(r) == kBenchLoopChecksum;
        result.maxCoreMHz = std::max(result.maxCoreMHz, inputs.figures.coreMHz());
        result.stepsDone = i + 1;
        if (progress) {
            progress(result.stepsDone);
        }
    }
    const std::uint32_t t1 = inputs.clock.tickCount();
    const std::int64_t q1 = inputs.clock.counter();
    result.cancelled = result.stepsDone < kBenchmarkSteps;

    // The tick count wraps; the difference in its own width does not.
    const double tickSeconds = static_cast<std::uint32_t>(t1 - t0) * 0.001;
    const double tscMHz = inputs.figures.tscMHz();
    const double tscPerTick = inputs.figures.tscPerCounterTick();
    // Before the calibration the counter time would be a division by zero, which must not pass
    // for a trusted time.
    const double counterSeconds =
        tscMHz > 0.0 && tscPerTick > 0.0
            ? static_cast<double>(q1 - q0) * tscPerTick / (tscMHz * 1'000'000.0)
            : NAN;
    result.performanceTimer =
        std::isfinite(counterSeconds) && std::fabs(counterSeconds - tickSeconds) <= kTimerTolerance;
    result.seconds = result.performanceTimer ? counterSeconds : tickSeconds;
    return result;
}

std::string benchmarkText(const BenchmarkResult& result, const Edition& edition) {
    std::string text = "Your Score   " + fixedText(result.score(), 0, 11) + "\n";
    text += "Time         " + fixedText(result.seconds, 3) + " secs\n";
    text += "Speed    " + fixedText(result.maxCoreMHz, 2) + " MHz\n\n";
    text += result.performanceTimer ? "Performance Timer\n" : "Standard Timer\n";
    text += result.checksumPass ? "CheckSum Pass" : "CheckSum Fail";
    text += "\n\nBase Score          1000\n";
    text += "E8400         3000 MHz         \n\n";
    text += edition.benchmarkHighScore;
    return text;
}

std::string benchmarkJson(const BenchmarkResult& result) {
    const nlohmann::json json{
        {"score", static_cast<long long>(std::round(result.score()))},
        {"seconds", roundedTo(result.seconds, 3)},
        {"speed", roundedTo(result.maxCoreMHz, 2)},
        {"timer", result.performanceTimer ? "performance" : "standard"},
        {"checksum", result.checksumPass ? "pass" : "fail"},
    };
    return json.dump();
}

}  // namespace calidus
