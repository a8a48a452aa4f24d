#include <gtest/gtest.h>

#include "measure/ClockFigure.h"
#include "measure/ClockRatios.h"
#include "measure/CounterSampling.h"
#include "measure/LoadThread.h"
#include "measure/RunTime.h"
#include "measure/TscCalibration.h"
#include "view/DisplayTexts.h"

namespace calidus {
namespace {

// What the window's header fields would show for these figures.
DisplayTexts shown(double tscMHz, double multiplier, double maxRatio,
                   std::optional<std::uint64_t> perfStatus) {
    const ClockFigure figure = clockFigure(tscMHz, multiplier, maxRatio, perfStatus);
    DisplayTexts texts;
    formatClockTexts(texts, {.clockKnown = true,
                             .coreMHz = figure.coreMHz,
                             .busMHz = figure.busMHz,
                             .multiplier = figure.multiplier});
    return texts;
}

TEST(ClockRatios, OlderProcessorsTakeTheirRatiosFromPerfStatusAndPlatformId) {
    struct Case {
        int c, e, r;
        double base, max, bound, loadScale;
    };
    for (const Case& k : {
             Case{90, 90, 90, 9.0, 9.0, 1.0, 1.0},        // E8400
             Case{125, 125, 135, 12.5, 12.5, 1.08, 1.0},  // T9300: acceleration to 13.5
             Case{135, 125, 0, 12.5, 13.5, 1.08, 1.08},   // acceleration still engaged
             Case{80, 90, 0, 8.0, 8.0, 1.0, 1.0},
             Case{0, 0, 0, 1.0, 1.0, 1.0, 1.0},   // registers that read nothing divide nothing
             Case{90, 0, 0, 1.0, 9.0, 1.0, 1.0},  // by zero either
         }) {
        const RatioFigures ratios = ratiosFromPerfStatus(k.c, k.e, k.r);
        EXPECT_DOUBLE_EQ(ratios.baseRatio, k.base) << k.c << " " << k.e;
        EXPECT_DOUBLE_EQ(ratios.maxRatio, k.max) << k.c << " " << k.e;
        EXPECT_NEAR(ratios.maxCoreRefRatio, k.bound, 1e-9) << k.c << " " << k.e;
        EXPECT_NEAR(ratios.loadScale, k.loadScale, 1e-9) << k.c << " " << k.e;
    }
    EXPECT_EQ(halfStepTenths(0x4C22), 125);
    EXPECT_DOUBLE_EQ(platformBaseRatio(0x10001900), 25.0);
    EXPECT_DOUBLE_EQ(turboBound(0x15151516, 20.0), 1.1);
    EXPECT_DOUBLE_EQ(turboBound(0, 20.0), 1.0);
}

TEST(ClockRatios, MultipliersRoundToTenthsAboveTheBaseRatioAndToHalvesBelow) {
    EXPECT_DOUBLE_EQ(multiplierFromCounters(9.0, 1.222), 11.0);
    EXPECT_DOUBLE_EQ(multiplierFromCounters(9.0, 0.95), 8.5);
    EXPECT_DOUBLE_EQ(multiplierFromCounters(20.0, 1.05), 21.0);
    EXPECT_DOUBLE_EQ(multiplierFromRegisters(8.7), 8.5);
    EXPECT_DOUBLE_EQ(multiplierFromRegisters(8.8), 9.0);

    // EBL_CR_POWERON: bit 18 adds a half; without it a set bit 15 of PERF_STATUS halves.
    EXPECT_DOUBLE_EQ(powerOnRatio(0x03040000, std::nullopt), 12.5);
    EXPECT_TRUE(powerOnNeedsPerfStatus(0x02400000));
    EXPECT_DOUBLE_EQ(powerOnRatio(0x02400000, 0x0920), 9.0);
    EXPECT_DOUBLE_EQ(powerOnRatio(0x02400000, 0x8920), 4.5);
    EXPECT_DOUBLE_EQ(platformRatio(0x0000A615), 21.0);

    ClockState clock;
    clock.loadPercent[2] = clock.loadPercent[5] = 80.0;
    EXPECT_EQ(busiestProcessor(clock, 8), 2);
    EXPECT_EQ(busiestProcessor(ClockState{}, 8), 0);
}

TEST(ClockFigure, BusClockAndMultiplierTextsWithTheHalfRatioDisplay) {
    const DisplayTexts plain = shown(2400.0, 3.0, 12.0, std::nullopt);
    EXPECT_EQ(plain.clock, "600.00 MHz");
    EXPECT_EQ(plain.busClock, "200.00 x 3.0");
    // Bit 15 of the low word and a maximum of 12: half the bus, twice the multiplier.
    const DisplayTexts halved = shown(2400.0, 3.0, 12.0, 0x00000C0000008000);
    EXPECT_EQ(halved.clock, "600.00 MHz");
    EXPECT_EQ(halved.busClock, "100.00 x 6.0");
    EXPECT_EQ(shown(2400.0, 6.0, 12.0, 0x00000C0000008000).busClock, "200.00 x 6.0");
    EXPECT_EQ(shown(2666.67, 20.0, 20.0, std::nullopt).busClock, "133.33 x 20.0");

    DisplayTexts texts;
    formatClockTexts(texts, {.vidShown = true, .vid = vidVolts(0x0920, false), .load = 7.25});
    EXPECT_EQ(texts.vidOrRunTime, "VID   1.2250");
    EXPECT_EQ(texts.load, "Load   7.2%");
    EXPECT_TRUE(texts.clock.empty()) << "not calibrated: the clock texts stay as they were";
    EXPECT_NEAR(vidVolts(0x4C1F, true), 1.1, 1e-9);
    formatClockTexts(texts, {.runTimeSeconds = 27 * 3600 + 4 * 60 + 9, .load = 100.0});
    EXPECT_EQ(texts.vidOrRunTime, "27:04:09");
    EXPECT_EQ(texts.load, "Load 100.0%");
}

TEST(CounterSampling, DeltasGiveLoadAndRatioAWrapCountsAPerfReloadDoesNot) {
    EXPECT_EQ(counterDelta(0xFFFFFFFF00, 0x100), 0x200u);

    ClockState clock;
    clock.maxCoreRefRatio = 1.1;
    clock.processorCount = 3;
    storeReadings(clock, std::vector<CounterReading>{{0, true, 1000, 1000, 1000},
                                                     {1, true, 0xFFFFFFFF00, 1000, 1000},
                                                     {2, true, 1000, 1000, 1000}});
    // Processor 0 half busy at 1.05 times the base; 1 wrapped, above the bound of 1.1;
    // 2's core counter was reloaded by the kernel's perf subsystem far beyond any ratio.
    const double mean = foldCounterReadings(
        clock, std::vector<CounterReading>{{0, true, 1000 + 1050, 1000 + 1000, 3000},
                                           {1, true, 1150 - 0x100, 1000 + 1000, 3000},
                                           {2, true, 0x8000000000, 1000 + 2000, 3000}});
    EXPECT_DOUBLE_EQ(clock.loadPercent[0], 50.0);
    EXPECT_DOUBLE_EQ(clock.coreRefRatio[0], 1.05);
    EXPECT_DOUBLE_EQ(clock.loadPercent[1], 50.0);
    EXPECT_DOUBLE_EQ(clock.coreRefRatio[1], 1.1);
    EXPECT_DOUBLE_EQ(clock.loadPercent[2], 0.0) << "a skipped sample keeps its last figures";
    EXPECT_DOUBLE_EQ(clock.coreRefRatio[2], 1.0);
    EXPECT_DOUBLE_EQ(mean, (1.05 + 1.1) / 2);
    EXPECT_DOUBLE_EQ(currentLoad(false, 0.0, clock), 100.0 / 3);

    // From the reloaded value on, processor 2 counts again; an unreadable one keeps its values.
    foldCounterReadings(clock,
                        std::vector<CounterReading>{{2, true, 0x8000000000 + 1900, 5000, 5000},
                                                    {0, false, 0, 0, 0}});
    EXPECT_DOUBLE_EQ(clock.loadPercent[2], 100.0);
    EXPECT_DOUBLE_EQ(clock.coreRefRatio[2], 0.95);
    EXPECT_EQ(clock.lastTsc[0], 3000u);
    EXPECT_DOUBLE_EQ(foldCounterReadings(clock, {}), 1.0) << "none counted";
}

TEST(CurrentLoad, ProcessorTimeWhenSelectedElseTheMeanOverTheProcessorsSampled) {
    ClockState clock;
    clock.loadPercent = {10, 20, 30, 40};
    clock.processorCount = 4;
    EXPECT_DOUBLE_EQ(currentLoad(false, 99.0, clock), 25.0);
    EXPECT_DOUBLE_EQ(currentLoad(true, 0.0, clock), 0.0);  // selected but unavailable
    clock.processorCount = 0;
    EXPECT_DOUBLE_EQ(currentLoad(false, 99.0, clock), 0.0);
}

TEST(TscCalibration, TheRingPublishesOnlyWhenEveryEntryAgreesWithinTwentyFiveKilohertz) {
    TscRing ring;
    ring.fill(2400000);
    std::optional<std::uint64_t> published;
    for (const std::uint64_t kHz : {2400010, 2399990, 2400020, 2399980, 2400000}) {
        published = ring.add(kHz);
    }
    EXPECT_EQ(published, 2400000u);

    TscRing disagreeing;
    disagreeing.fill(2400000);
    for (const std::uint64_t kHz : {2400010, 2399990, 2400030, 2399980, 2400000}) {
        published = disagreeing.add(kHz);
    }
    EXPECT_EQ(published, std::nullopt) << "average 2400002, 2400030 is 28 away";

    // The sleep-timed rates agree (1000 per mille): v, 3 MHz off, gives way to p250.
    EXPECT_EQ(ringRate(2400000, 2401000, 2404000), 2401000u);
    EXPECT_EQ(ringRate(2400000, 2401000, 2402000), 2402000u);
    EXPECT_EQ(ringRate(2400000, 2410000, 2404000), 2404000u);  // 1004 per mille
    EXPECT_EQ(ringRate(0, 2401000, 2404000), 2404000u);

    EXPECT_DOUBLE_EQ(tscMegahertz(666667500, 250'000'000, 1'000'000'000).value_or(0), 2666.67);
    EXPECT_EQ(tscMegahertz(666667500, 0, 1'000'000'000), std::nullopt);
    EXPECT_EQ(tscMegahertz(0, 250'000'000, 1'000'000'000), std::nullopt);
    EXPECT_EQ(tscMegahertz(~0ull, 1, 1'000'000'000), std::nullopt);
}

TEST(RunTime, GapsOfSleepOrClockJumpsCountAsOneSecond) {
    RunTime runTime;
    runTime.start(1000, std::chrono::milliseconds(1000));  // gaps above 3 s
    EXPECT_EQ(runTime.update(1001, 1000), 1);
    EXPECT_EQ(runTime.update(1004, 1000), 4);  // 3 s: no gap
    EXPECT_EQ(runTime.update(1104, 1000), 5);  // slept 100 s
    EXPECT_EQ(runTime.update(1004, 1000), 6);  // the clock set back by 100 s
    runTime.reset();
    EXPECT_EQ(runTime.update(1005, 1004), 1);

    RunTime fast;
    fast.start(0, std::chrono::milliseconds(250));  // gaps above 2 s
    EXPECT_EQ(fast.update(3, 0), 1);
    EXPECT_EQ(fast.update(1, 10), 0) << "never negative";
}

}  // namespace
}  // namespace calidus
