#include "platform/linux/LinuxCommandRunner.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

TEST(LinuxCommandRunner, GivesTheExitStatusOrNegativeWhenNothingStarted) {
    LinuxCommandRunner runner;
    EXPECT_EQ(runner.run({"true"}), 0);
    EXPECT_EQ(runner.run({"sh", "-c", "exit 3"}), 3);
    EXPECT_EQ(runner.run({"sh", "-c", "kill -9 $$"}), 128 + 9);
    EXPECT_LT(runner.run({"calidus-no-such-program"}), 0);
    EXPECT_LT(runner.run({}), 0);
}

}  // namespace
}  // namespace calidus
