#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include "PlainBenchLoop.h"
#include "tools/BenchLoop.h"

namespace calidus {
namespace {

double secondsOf(auto&& work) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(work());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One benchmark step against the same loop in plain C: "ratio" is the step's time over the C
// loop's, taken in turns so that both see the same machine.
void BM_BenchLoopAgainstPlainC(benchmark::State& run) {
    double ours = 0.0;
    double plain = 0.0;
    for (auto _ : run) {
        const std::time_t seed = std::time(nullptr);
        const double step = secondsOf([&] { return benchLoop(1, seed); });
        plain += secondsOf([&] { return plainBenchLoop(1, seed); });
        ours += step;
        run.SetIterationTime(step);
    }
    run.counters["ratio"] = plain > 0.0 ? ours / plain : 0.0;
}
BENCHMARK(BM_BenchLoopAgainstPlainC)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace
}  // namespace calidus
