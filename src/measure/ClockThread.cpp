#include "measure/ClockThread.h"

#include <cstdint>
#include <optional>

#include "measure/ThreadControl.h"
#include "measure/TscCalibration.h"

namespace calidus {

namespace {

constexpr int kHighestProcessorTried = 8;
constexpr std::chrono::milliseconds kYield{0};
constexpr std::chrono::milliseconds kShortWindow{125};
constexpr std::chrono::milliseconds kLongWindow{250};
constexpr int kStopCheckRounds = 0x10000;

void pinToHighestProcessor(Scheduler& scheduler) {
    for (int p = kHighestProcessorTried; p >= 0; --p) {
        if (scheduler.setThreadAffinity(1u << p)) {
            return;
        }
    }
}

bool running(const std::atomic<int>& flag) {
    return flag.load() == ThreadControl::kRunning;
}

std::uint64_t ticksBetween(std::uint64_t first, std::uint64_t last) {
    return last > first ? last - first : 0;
}

// A stop asked for during the burst ends it early: there is no figure to wait for.
std::optional<double> calibrationBurst(const std::atomic<int>& flag, Clock& clock,
                                       Processor& processor, Scheduler& scheduler, int rounds) {
    const std::int64_t frequency = clock.counterFrequency();
    scheduler.sleep(kYield);
    const std::int64_t q0 = clock.counter();
    const std::uint64_t t0 = processor.rdtsc();
    volatile std::uint64_t x = 1234567890;
    for (int round = 0; round < rounds; ++round) {
        x = x / 7;
        if (round % kStopCheckRounds == 0 && !running(flag)) {
            return std::nullopt;
        }
    }
    const std::int64_t q1 = clock.counter();
    const std::uint64_t t1 = processor.rdtsc();
    return tscMegahertz(ticksBetween(t0, t1), q1 - q0, frequency);
}

// One pass: the time-stamp rate in kHz over 125 ms and over 250 ms of sleep, and over the
// high-resolution counter's measure of the second window. Nothing when the counters stood.
std::optional<std::uint64_t> measurePass(Clock& clock, Processor& processor, Scheduler& scheduler,
                                         ClockFigures& figures) {
    const std::int64_t frequency = clock.counterFrequency();
    scheduler.sleep(kYield);
    const std::uint64_t a0 = processor.rdtsc();
    scheduler.sleep(kShortWindow);
    const std::uint64_t a1 = processor.rdtsc();
    const std::uint64_t p125 = ticksBetween(a0, a1) / kShortWindow.count();

    scheduler.sleep(kYield);
    const std::int64_t q0 = clock.counter();
    const std::uint64_t b0 = processor.rdtsc();
    scheduler.sleep(kLongWindow);
    const std::int64_t q1 = clock.counter();
    const std::uint64_t b1 = processor.rdtsc();
    const std::uint64_t d = ticksBetween(b0, b1);
    const std::uint64_t p250 = d / kLongWindow.count();
    const std::optional<double> megahertz = tscMegahertz(d, q1 - q0, frequency);
    if (!megahertz) {
        return std::nullopt;
    }
    const double perCounterTick = static_cast<double>(d) / static_cast<double>(q1 - q0);
    figures.tscPerQpcTick.store(perCounterTick);
    const auto v =
        static_cast<std::uint64_t>(static_cast<double>(frequency) * perCounterTick * 0.001);
    return ringRate(p125, p250, v);
}

}  // namespace

void runClockThread(std::atomic<int>& flag, Clock& clock, Processor& processor,
                    Scheduler& scheduler, ClockFigures& figures, ClockThreadOptions options) {
    scheduler.setThreadPriority(options.priority);
    pinToHighestProcessor(scheduler);
    TscRing ring;
    if (const std::optional<double> burst =
            calibrationBurst(flag, clock, processor, scheduler, options.burstRounds)) {
        figures.tscMHz.store(*burst);
        ring.fill(static_cast<std::uint64_t>(*burst * 1000));
    }
    while (running(flag)) {
        const std::optional<std::uint64_t> rate = measurePass(clock, processor, scheduler, figures);
        if (!rate) {
            continue;
        }
        if (!ring.filled()) {
            ring.fill(*rate);
        }
        if (const std::optional<std::uint64_t> average = ring.add(*rate)) {
            figures.tscMHz.store(static_cast<double>(*average) * 0.001);
        }
    }
    flag.store(ThreadControl::kStopped);
}

}  // namespace calidus
