#include "data/Overrange.h"
#include "power/PowerStore.h"

#include <gtest/gtest.h>

TEST(PowerStore, pointWidthStartsMergingAtThreeHundredSeconds) {
    for (auto [logTime, interval] : {std::pair{299, 0.0}, {300, 0.05}, {600, 0.1}, {86400, 14.4}})
        EXPECT_DOUBLE_EQ(PointIntervalFor(logTime), interval) << logTime;
}

TEST(PowerStore, intervalsWithoutReadingsLeaveEmptyPoints) {
    PowerStore s;
    s.Clear(600);  // 0.1 s per point
    const std::pair<double, int> readings[] = {{0, 1}, {0.05, 1}, {0.25, 2}, {0.55, 5}};
    for (auto [t, point] : readings) EXPECT_EQ(s.Store(1 + t * 10, t), point) << t;
    EXPECT_EQ(s.PowerData[1].AvgValue, 1.25f);
    EXPECT_EQ(s.PowerData[1].MaxValue, 1.5f);
    EXPECT_DOUBLE_EQ(s.PowerData[2].PointTime, 0.25);
    EXPECT_EQ(s.PowerData[3].PointTime, -1);
    EXPECT_EQ(s.PowerData[4].PointTime, -1);
    EXPECT_DOUBLE_EQ(s.PowerData[5].PointTime, 0.55);
}

TEST(PowerStore, overrangeReadingMarksTheMaximumButNotTheAverage) {
    PowerStore s;
    s.Clear(600);
    for (double v : {OverrangeValue, 1.0, OverrangeValue, 3.0}) s.Store(v, 0.01);
    EXPECT_TRUE(IsOverrange(PowerStore::PointValue(s.PowerData[1])));
    EXPECT_EQ(s.PowerData[1].AvgValue, 2.0f);
    EXPECT_EQ(s.PowerData[1].MinValue, 1.0f);
}

TEST(PowerStore, the6000thPointIsTheLastOneStored) {
    PowerStore one;
    one.Clear(100);
    for (int i = 1; i <= 6000; ++i) ASSERT_EQ(one.Store(1.0, i * 0.01), i);
    EXPECT_EQ(one.Store(2.0, 70), 0);
    EXPECT_EQ(one.PointCount, 6000);

    PowerStore merged;
    merged.Clear(6000);  // 1 s per point
    merged.Store(1.0, 0);
    EXPECT_EQ(merged.Store(1.0, 5998.5), 5998);  // points 2..5997 stay empty
    EXPECT_EQ(merged.Store(2.0, 5999.5), 5999);
    EXPECT_EQ(merged.Store(3.0, 6000.5), 6000);
    // Once point 6000 is open nothing joins it, nor opens after it.
    EXPECT_EQ(merged.Store(5.0, 6000.6), 0);
    EXPECT_EQ(merged.Store(5.0, 6001.5), 0);
    EXPECT_EQ(merged.PointCount, 6000);
    EXPECT_EQ(merged.PowerData[6000].AvgValue, 3.0f);
    EXPECT_EQ(merged.PowerData[6000].MaxValue, 3.0f);

    // A clock jump far past the log time fills the store with empty points, no further.
    merged.Clear(600);
    merged.Store(1.0, 0);
    EXPECT_EQ(merged.Store(2.0, 1e7), 0);
    EXPECT_EQ(merged.PointCount, 6000);
}
