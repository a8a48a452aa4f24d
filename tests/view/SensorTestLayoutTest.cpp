#include "view/SensorTestLayout.h"

#include <gtest/gtest.h>

#include <set>

namespace calidus {
namespace {

TEST(SensorTestLayout, GoesBesideTheMainWindowOnTheSideWithMoreRoom) {
    struct Case {
        ScreenRect main;
        bool composition;
        ScreenPoint at;
    };
    for (const Case& c :
         {Case{{100, 50, 420, 500}, false, {420, 50}}, Case{{100, 50, 420, 500}, true, {430, 50}},
          Case{{1500, 80, 1820, 530}, false, {1100, 80}},
          Case{{1500, 80, 1820, 530}, true, {1090, 80}}}) {
        EXPECT_EQ(sensorTestPosition(c.main, 400, 1920, c.composition), c.at) << c.main.left;
    }
}

TEST(SensorTestLayout, EveryControlHasAnIdOfItsOwnInBothEditions) {
    for (const Edition* edition : {&Edition::standard(), &Edition::xl()}) {
        const SensorTestControls& ids = sensorTestControls(*edition);
        std::set<int> seen(ids.movement.begin(), ids.movement.end());
        std::size_t count = ids.movement.size();
        for (const std::vector<int>& row : ids.rows) {
            EXPECT_EQ(row.size(), edition->monitoredCores.size());
            seen.insert(row.begin(), row.end());
            count += row.size();
        }
        seen.insert(ids.loads.begin(), ids.loads.end());
        seen.insert({ids.status, ids.start, ids.stop, ids.download});
        EXPECT_EQ(seen.size(), count + kSensorTestRows + 4) << edition->programName;
    }
}

}  // namespace
}  // namespace calidus
