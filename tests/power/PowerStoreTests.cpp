#include "power/PowerStore.h"

#include "data/Overrange.h"

#include <gtest/gtest.h>

// A log time of 6000 s merges into 1 s points; a reading past the last
// point joins it, even one after a clock jump far beyond the log time.
TEST(PowerStore, readingsPastTheLastPointJoinIt) {
    PowerStore merged;
    merged.Clear(6000);
    merged.Store(1.0, 0);
    EXPECT_EQ(merged.Store(1.0, 5998.5), 5998);  // points 2..5997 stay empty
    EXPECT_EQ(merged.PowerData[5997].PointTime, -1);
    for (auto [watts, time, point] :
         {std::tuple{2.0, 5999.5, 5999}, {3.0, 6000.5, 6000}, {5.0, 6000.6, 6000}, {7.0, 1e7, 6000}})
        EXPECT_EQ(merged.Store(watts, time), point) << time;
    const PowerPoint& last = merged.PowerData[6000];
    EXPECT_EQ(std::tuple(merged.PointCount, last.AvgValue, last.MaxValue, last.Count),
              std::tuple(6000, 5.0f, 7.0f, 3));
}

// A 100 s run answered 1000 times a second: its 6001st reading groups the
// points into 100 / 6000 s ones, and the store keeps every reading.
TEST(PowerStore, aShortRunThatFillsTheStoreIsMergedAndLosesNoReading) {
    PowerStore store;
    store.Clear(100);
    ASSERT_EQ(store.PointInterval, 0);
    for (int i = 0; i < 6000; ++i) store.Store(i == 3 ? OverrangeValue : 1.0 + i % 2, i * 0.001);
    EXPECT_EQ(store.PointCount, 6000);
    store.Store(9.0, 5.9995);  // the 6001st, within the last point
    EXPECT_DOUBLE_EQ(store.PointInterval, 100.0 / 6000);
    EXPECT_EQ(store.Regroups, 1);
    int32_t readings = 0;
    float largest = 0;
    for (int32_t k = 1; k <= store.PointCount; ++k) {
        const PowerPoint& p = store.PowerData[size_t(k)];
        if (p.PointTime < 0) continue;
        readings += p.Count;
        if (!IsOverrange(p.MaxValue)) largest = std::max(largest, p.MaxValue);
    }
    EXPECT_EQ(readings, 6000) << "5999 valid readings before, and the 6001st";
    EXPECT_EQ(largest, 9.0f);
    EXPECT_EQ(store.PointCount, 359);  // 6.0 s of 1/60 s points, the first two wide
    // The last point: the 16 readings of 5984 to 5999 ms (8 of 1 W, 8 of 2 W) and the 9 W one.
    EXPECT_FLOAT_EQ(store.PowerData[359].AvgValue, 33.0f / 17);
    // The first point: the 34 readings of 0 to 33 ms (below two points'
    // width), one of them over range; 17 of 1 W and 16 of 2 W are valid.
    const PowerPoint& first = store.PowerData[1];
    EXPECT_EQ(std::tuple(PowerStore::PointValue(first), first.Count, first.MinValue),
              std::tuple(OverrangeValue, 33, 1.0f));
    EXPECT_FLOAT_EQ(first.AvgValue, 49.0f / 33);
    // The run goes on merging up to its log time and past it.
    EXPECT_EQ(store.Store(2.0, 99.99), 5999);
    EXPECT_EQ(store.Store(2.0, 100.5), 6000);
}
