#include "cpu/ProcessorAccess.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

TEST(DriverStatusText, CodesBeyondTheTableAreEmpty) {
    EXPECT_EQ(driverStatusText(0), "No Error");
    EXPECT_EQ(driverStatusText(2), "Driver Not Loaded\nTry Run as Administrator.");
    EXPECT_EQ(driverStatusText(7), "");
    EXPECT_EQ(driverStatusText(9), "Unknown Error");
    EXPECT_EQ(driverStatusText(10), "");
    EXPECT_EQ(driverStatusText(0xFFFFFFFFu), "");
}

}  // namespace
}  // namespace calidus
