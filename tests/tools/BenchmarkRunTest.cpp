#include "tools/BenchmarkRun.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "support/FakePlatform.h"
#include "tools/BenchLoop.h"

namespace calidus {
namespace {

using testing::FakeMachine;

struct Figures : BenchmarkClock {
    double tscMHz() const override { return tsc; }
    double tscPerCounterTick() const override { return perTick; }
    double coreMHz() const override { return core; }
    double tsc = 0.0;
    double perTick = 0.0;
    double core = 0.0;
};

TEST(BenchLoop, AnswersTheChecksumWhateverTheSeedTime) {
    for (const std::time_t seed : {std::time_t{0}, std::time_t{1'700'000'000}, std::time_t{77}}) {
        EXPECT_EQ(benchLoop(1, seed), 2807937329u) << seed;
    }
}

TEST(BenchmarkRun, TimerScoreAndChecksumInTheResultText) {
    struct Case {
        const char* name;
        double tscMHz;
        double tscPerTick;       // the fake counter counts microseconds
        std::uint64_t answer;    // of every workload step
        std::int64_t runMicros;  // the counter and the tick count both advance by this
        const char* expected;
    };
    const Case cases[] = {
        {"uncalibrated", 0.0, 0.0, kBenchLoopChecksum, 14'630'000,
         "Your Score          1000\nTime         14.630 secs\nSpeed    2400.00 MHz\n\n"
         "Standard Timer\nCheckSum Pass"},
        {"calibrated", 3000.0, 3000.0, kBenchLoopChecksum, 6'338'000,
         "Your Score          2308\nTime         6.338 secs\nSpeed    2400.00 MHz\n\n"
         "Performance Timer\nCheckSum Pass"},
        // The counter runs 1 % fast: 63 ms apart from the tick count.
        {"counter disagrees", 3000.0, 3030.0, kBenchLoopChecksum, 6'338'000,
         "Your Score          2308\nTime         6.338 secs\nSpeed    2400.00 MHz\n\n"
         "Standard Timer\nCheckSum Pass"},
        {"wrong result", 0.0, 0.0, 0x1A75DB931, 6'338'000,
         "Your Score          2308\nTime         6.338 secs\nSpeed    2400.00 MHz\n\n"
         "Standard Timer\nCheckSum Pass"},
        {"wrong low half", 0.0, 0.0, 12345, 6'338'000,
         "Your Score          2308\nTime         6.338 secs\nSpeed    2400.00 MHz\n\n"
         "Standard Timer\nCheckSum Fail"},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        Platform platform = testing::makeFakePlatform(machine);
        Figures figures;
        figures.tsc = c.tscMHz;
        figures.perTick = c.tscPerTick;
        figures.core = 1600.0;
        BenchmarkControl control;
        int steps = 0;
        const BenchmarkInputs inputs{.clock = *platform.clock,
                                     .scheduler = *platform.scheduler,
                                     .systemMask = 0x0F,
                                     .figures = figures,
                                     .control = control,
                                     .step = [&] {
                                         // The clock rises under load, once.
                                         figures.core = ++steps == 7 ? 2400.0 : 2000.0;
                                         machine.counter += c.runMicros / kBenchmarkSteps;
                                         return c.answer;
                                     }};
        std::vector<int> progress;
        const std::optional<BenchmarkResult> result =
            runBenchmark(inputs, [&](int done) { progress.push_back(done); });
        ASSERT_TRUE(result) << c.name;
        EXPECT_FALSE(result->cancelled) << c.name;
        EXPECT_EQ(progress.size(), 20u) << c.name;
        EXPECT_EQ(machine.threadMask, 0x0Fu) << c.name;  // not pinned to one processor
        const std::string text = benchmarkText(*result, Edition::standard());
        EXPECT_EQ(text.substr(0, text.find("\n\nBase")), c.expected) << c.name;
    }
}

TEST(BenchmarkRun, EachEditionEndsWithItsReferenceBlock) {
    const BenchmarkResult result{.seconds = 7.404, .checksumPass = true};
    const std::string standard = benchmarkText(result, Edition::standard());
    const std::string xl = benchmarkText(result, Edition::xl());
    EXPECT_NE(standard.find("CheckSum Pass\n\nBase Score          1000\n"
                            "E8400         3000 MHz         \n\n"
                            "High Score          2308\nTime           6.338 secs\n"
                            "Xeon     5712.25 MHz\nHeld by "),
              std::string::npos);
    EXPECT_NE(xl.find("\n\nHigh Score          1976\nTime           7.404 secs\n"
                      "i7 940     4830.28 MHz\nHeld by "),
              std::string::npos);
    EXPECT_EQ(benchmarkJson(result),
              R"({"checksum":"pass","score":1976,"seconds":7.404,"speed":0.0,"timer":"standard"})");
}

}  // namespace
}  // namespace calidus
