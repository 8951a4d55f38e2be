#include "data/Overrange.h"
#include "power/PowerStore.h"

#include <gtest/gtest.h>

TEST(PowerStore, pointWidthStartsMergingAtThreeHundredSeconds) {
    struct Case {
        int32_t logTime;
        double interval;
    };
    for (Case c : {Case{15, 0}, Case{299, 0}, Case{300, 0.05}, Case{600, 0.1}, Case{86400, 14.4}})
        EXPECT_DOUBLE_EQ(PointIntervalFor(c.logTime), c.interval) << c.logTime;
}

TEST(PowerStore, shortLogTimeStoresEveryReadingWithTimeZeroFirst) {
    PowerStore s;
    s.Clear(299);
    EXPECT_EQ(s.Store(1.0, 0.4), 1);
    EXPECT_EQ(s.Store(2.0, 0.41), 2);
    EXPECT_EQ(s.Store(3.0, 0.42), 3);
    EXPECT_EQ(s.PowerData[1].PointTime, 0);
    EXPECT_DOUBLE_EQ(s.PowerData[3].PointTime, 0.42);
    EXPECT_EQ(s.PowerData[2].MinValue, 2.0f);
    EXPECT_EQ(s.PowerData[2].AvgValue, 2.0f);
}

TEST(PowerStore, intervalsWithoutReadingsLeaveEmptyPoints) {
    PowerStore s;
    s.Clear(600);  // 0.1 s per point
    EXPECT_EQ(s.Store(1.0, 0), 1);
    EXPECT_EQ(s.Store(3.0, 0.05), 1);
    EXPECT_EQ(s.Store(5.0, 0.25), 2);
    EXPECT_EQ(s.Store(7.0, 0.55), 5);
    EXPECT_EQ(s.PointCount, 5);
    EXPECT_EQ(s.PowerData[1].AvgValue, 2.0f);
    EXPECT_EQ(s.PowerData[1].MinValue, 1.0f);
    EXPECT_EQ(s.PowerData[1].MaxValue, 3.0f);
    EXPECT_DOUBLE_EQ(s.PowerData[2].PointTime, 0.25);
    EXPECT_EQ(s.PowerData[3].PointTime, -1);
    EXPECT_EQ(s.PowerData[4].PointTime, -1);
    EXPECT_DOUBLE_EQ(s.PowerData[5].PointTime, 0.55);
    EXPECT_EQ(s.PowerData[5].AvgValue, 7.0f);
}

TEST(PowerStore, overrangeReadingMarksTheMaximumButNotTheAverage) {
    PowerStore s;
    s.Clear(600);
    s.Store(1.0, 0);
    s.Store(OverrangeValue, 0.01);
    s.Store(3.0, 0.02);
    EXPECT_TRUE(IsOverrange(s.PowerData[1].MaxValue));
    EXPECT_EQ(s.PowerData[1].AvgValue, 2.0f);
    EXPECT_EQ(s.BinCount, 2);
    EXPECT_TRUE(IsOverrange(PowerStore::PointValue(s.PowerData[1])));
}

TEST(PowerStore, pointOpenedOverRangeTakesItsMinimumFromTheFirstValidReading) {
    PowerStore s;
    s.Clear(600);
    s.Store(OverrangeValue, 0);
    s.Store(5.0, 0.01);
    EXPECT_EQ(s.PowerData[1].MinValue, 5.0f);
    EXPECT_EQ(s.PowerData[1].AvgValue, 5.0f);
}

TEST(PowerStore, fullStoreKeepsItsPointsAndIgnoresMoreReadings) {
    PowerStore one;
    one.Clear(100);
    for (int i = 0; i < kMaxPowerPoints; ++i) ASSERT_EQ(one.Store(1.0, i * 0.01), i + 1);
    EXPECT_EQ(one.Store(2.0, 70), 0);
    EXPECT_EQ(one.PointCount, kMaxPowerPoints);

    PowerStore merged;
    merged.Clear(600);
    merged.Store(1.0, 0);
    // A clock jump far past the log time fills the store with empty points, no further.
    EXPECT_EQ(merged.Store(2.0, 1e7), 0);
    EXPECT_EQ(merged.PointCount, kMaxPowerPoints);
    EXPECT_EQ(merged.Store(2.0, 1e7), 0);
}
