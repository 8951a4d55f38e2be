#include "platform/Clock.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>
#include <QTime>

TEST(Clock, systemClockIsLocalSecondsSinceMidnightUntilAnotherIsInstalled) {
    const double before = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double s = platform::clock().SecondsSinceMidnight();
    const double after = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    if (after < before) GTEST_SKIP() << "ran across midnight";
    EXPECT_GE(s, before);
    EXPECT_LE(s, after);
    platform::Clock* system = &platform::clock();
    {
        FakeClock fake;
        fake.Set(3600.5);
        EXPECT_DOUBLE_EQ(platform::clock().SecondsSinceMidnight(), 3600.5);
    }
    EXPECT_EQ(&platform::clock(), system);
}
