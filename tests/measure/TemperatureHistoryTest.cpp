#include "measure/TemperatureHistory.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

// Core 0 is read, core 1 is absent, core 2 is present without a reading yet.
RunConfiguration coresZeroAndTwo() {
    RunConfiguration config;
    config.coreMap.coreMask[0] = 1;
    config.coreMap.coreMask[2] = 4;
    return config;
}

MonitorState stateWithCoreZeroAt(int celsius, std::time_t when) {
    MonitorState state;
    state.tickTime = when;
    state.cores[0].sensorRead = true;
    state.cores[0].celsius = celsius;
    return state;
}

TEST(TemperatureHistory, KeepsTheNewestEntriesOldestFirstOnceFull) {
    const Edition& edition = Edition::standard();
    TemperatureHistory history(3);
    for (int i = 0; i < 5; ++i) {
        history.record(stateWithCoreZeroAt(10 + i, 100 + i), coresZeroAndTwo(), edition);
    }
    EXPECT_EQ(history.size(), 3u);
    EXPECT_EQ(history.capacity(), 3u);

    const std::vector<HistoryPoint> all = history.last(10, false, edition);
    ASSERT_EQ(all.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(all[i].time, 102 + i);
        EXPECT_EQ(all[i].cores[0], 12 + i);
        EXPECT_FALSE(all[i].cores[1].has_value());
        EXPECT_FALSE(all[i].cores[2].has_value());
        EXPECT_FALSE(all[i].gpu.has_value());
    }
    const std::vector<HistoryPoint> newest = history.last(2, false, edition);
    ASSERT_EQ(newest.size(), 2u);
    EXPECT_EQ(newest[0].time, 103);
    EXPECT_EQ(newest[1].cores[0], 14);
}

TEST(TemperatureHistory, ShowsEveryEntryInTheUnitAskedForWhenItIsRead) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        TemperatureHistory history;
        MonitorState state = stateWithCoreZeroAt(45, 1);
        state.gpuPresent = true;
        state.gpu.read = true;
        state.gpu.celsius = 60;
        history.record(state, coresZeroAndTwo(), *edition);
        state.gpuPresent = false;
        state.tickTime = 2;
        history.record(state, coresZeroAndTwo(), *edition);

        const std::vector<HistoryPoint> celsius = history.last(2, false, *edition);
        EXPECT_EQ(celsius[0].cores[0], 45);
        EXPECT_EQ(celsius[0].gpu, 60);
        const std::vector<HistoryPoint> fahrenheit = history.last(2, true, *edition);
        EXPECT_EQ(fahrenheit[0].cores[0], 113);
        EXPECT_EQ(fahrenheit[0].gpu, 140);
        EXPECT_EQ(fahrenheit[1].cores[0], 113);
        EXPECT_FALSE(fahrenheit[1].gpu.has_value());
    }
}

}  // namespace
}  // namespace calidus
