#include "power/PowerStore.h"

#include <gtest/gtest.h>

TEST(PowerStore, the6000thPointIsTheLastOneStored) {
    PowerStore merged;
    merged.Clear(6000);  // 1 s per point
    merged.Store(1.0, 0);
    EXPECT_EQ(merged.Store(1.0, 5998.5), 5998);  // points 2..5997 stay empty
    EXPECT_EQ(merged.PowerData[5997].PointTime, -1);
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
