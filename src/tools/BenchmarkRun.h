#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/Edition.h"
#include "platform/Clock.h"
#include "platform/Scheduler.h"
#include "tools/BenchmarkClock.h"
#include "tools/BenchmarkControl.h"

namespace calidus {

constexpr int kBenchmarkSteps = 20;

struct BenchmarkResult {
    double seconds = 0.0;
    double maxCoreMHz = 0.0;
    bool performanceTimer = false;  // else the tick count timed the run
    bool checksumPass = false;
    bool cancelled = false;
    int stepsDone = 0;

    double score() const;  // 14630 / seconds
};

struct BenchmarkInputs {
    Clock& clock;
    Scheduler& scheduler;
    std::uint32_t systemMask = 0;  // the run's thread is given every processor
    const BenchmarkClock& figures;
    BenchmarkControl& control;
    // One step of the workload; benchLoop(1) seeded from the clock unless a test replaces it.
    std::function<std::uint64_t()> step;
};

// The twenty workload steps on the calling thread, with the control's stop request and the
// progress report (steps done so far) between them. Nothing when the platform has no
// high-resolution counter.
std::optional<BenchmarkResult> runBenchmark(const BenchmarkInputs& inputs,
                                            const std::function<void(int)>& progress);

// The text of the "Tovel Bench Score" box, with the edition's reference figures.
std::string benchmarkText(const BenchmarkResult& result, const Edition& edition);

// The result as one line of JSON: score, seconds, speed, timer, checksum.
std::string benchmarkJson(const BenchmarkResult& result);

}  // namespace calidus
