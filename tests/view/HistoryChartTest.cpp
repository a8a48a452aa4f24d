#include "view/HistoryChart.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace calidus {
namespace {

TEST(HistoryChart, EachSpanCoversItsTimeAtTheTickPeriodWithinTheRing) {
    using std::chrono::milliseconds;
    const struct {
        HistorySpan span;
        milliseconds period;
        std::size_t entries;
    } cases[] = {
        {HistorySpan::FiveMinutes, milliseconds(1000), 301},
        {HistorySpan::FiveMinutes, milliseconds(2000), 151},
        {HistorySpan::OneHour, milliseconds(1000), 3601},
        {HistorySpan::OneHour, milliseconds(250), 7200},
        {HistorySpan::WholeRing, milliseconds(1000), 7200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(historyEntries(c.span, c.period, 7200), c.entries) << c.period.count();
    }
}

// Cores 0 and 2 of an i7-920's four are present; core 2 has no reading in the first tick and
// the GPU only in the second.
TEST(HistoryChart, SeriesAxisAndCsvOfTheShownEntries) {
    const Edition& edition = Edition::standard();
    RunConfiguration config;
    config.coreMap.coreMask[0] = 1;
    config.coreMap.coreMask[2] = 4;
    TemperatureHistory history(10);
    const int core0[] = {45, 50, 47};
    for (int tick = 0; tick < 3; ++tick) {
        MonitorState state;
        state.tickTime = 3600 + tick;
        state.cores[0] = {.sensorRead = true};
        state.cores[0].celsius = core0[tick];
        state.cores[2].sensorRead = tick > 0;
        state.cores[2].celsius = 41;
        state.gpuPresent = state.gpu.read = tick == 1;
        state.gpu.celsius = 60;
        history.record(state, config, edition);
    }

    const HistoryChartInputs celsius{.unit = "\u00B0C", .coreAlarm = 100, .gpuAlarm = 90};
    const HistoryChart chart = historyChart(history, 2, celsius, config, edition);
    EXPECT_EQ(chart.cores, (std::vector<int>{0, 2}));
    EXPECT_TRUE(chart.gpu);
    EXPECT_EQ(chart.gpuAlarm, 90);
    // 41 to 100: steps of 10, and room above the alarm line.
    EXPECT_EQ(chart.low, 40);
    EXPECT_EQ(chart.high, 110);
    EXPECT_EQ(chart.step, 10);

    testing::FakeMachine machine;
    testing::FakeClock clock(machine);
    EXPECT_EQ(historyCsv(chart, clock),
              "Time,Core 0 (\u00B0C),Core 2 (\u00B0C),GPU (\u00B0C)\n"
              "2024-01-01 01:00:01,50,41,60\n"
              "2024-01-01 01:00:02,47,41,\n");
}

}  // namespace
}  // namespace calidus
