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

TEST(PowerStore, fullStoreIgnoresFurtherReadings) {
    PowerStore one;
    one.Clear(100);
    for (int i = 0; i < kMaxPowerPoints; ++i) one.Store(1.0, i * 0.01);
    EXPECT_EQ(one.Store(2.0, 70), 0);
    EXPECT_EQ(one.PointCount, kMaxPowerPoints);

    PowerStore merged;
    merged.Clear(600);
    merged.Store(1.0, 0);
    // A clock jump far past the log time fills the store with empty points, no further.
    EXPECT_EQ(merged.Store(2.0, 1e7), 0);
    EXPECT_EQ(merged.PointCount, kMaxPowerPoints);
}
