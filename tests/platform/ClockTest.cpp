#include "platform/Clock.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>
#include <QTime>

TEST(Clock, systemClockIsLocalSecondsSinceMidnightUntilAnotherIsInstalled) {
    const double before = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double s = platform::clock().SecondsSinceMidnight();
    const double after = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    EXPECT_TRUE(after < before || (before <= s && s <= after)) << "unless it ran across midnight";
    platform::Clock* system = &platform::clock();
    {
        FakeClock fake;
        const double t0 = fake.Monotonic();
        fake.Set(86399.5);
        fake.Advance(1);  // across midnight the wall clock starts again, the monotonic one goes on
        EXPECT_DOUBLE_EQ(platform::clock().SecondsSinceMidnight(), 0.5);
        EXPECT_DOUBLE_EQ(platform::clock().Monotonic() - t0, 1);
    }
    EXPECT_EQ(&platform::clock(), system);
}
