#include "platform/linux/LinuxProcessorTimeCounter.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

namespace calidus {
namespace {

using testing::TempFolder;

TEST(LinuxProcessorTimeCounter, BusyShareOfTheAggregateLineSinceThePreviousCall) {
    TempFolder proc;
    proc.put("stat", "cpu  100 0 50 800 50 0 0 0 0 0\ncpu0 1 2 3 4 5 6 7 8 9 10\n");
    LinuxProcessorTimeCounter counter(proc.path().string());

    // 60 user + 20 system + 100 idle + 20 iowait; the 20 guest are inside user already.
    proc.put("stat", "cpu  160 0 70 900 70 0 0 0 20 0\ncpu0 9 9 9 9 9 9 9 9 9 9\n");
    EXPECT_DOUBLE_EQ(counter.busyPercent(), 40.0);
    EXPECT_DOUBLE_EQ(counter.busyPercent(), 0.0);  // nothing elapsed

    // iowait running backwards must not push the figure past 100.
    proc.put("stat", "cpu  200 0 70 900 60 0 0 0 0 0\n");
    EXPECT_DOUBLE_EQ(counter.busyPercent(), 100.0);

    proc.put("stat", "intr 1 2 3\n");
    EXPECT_DOUBLE_EQ(counter.busyPercent(), 0.0);
    EXPECT_DOUBLE_EQ(LinuxProcessorTimeCounter((proc.path() / "none").string()).busyPercent(), 0.0);
}

}  // namespace
}  // namespace calidus
