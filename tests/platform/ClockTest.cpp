#include "platform/Clock.h"
#include "support/FakeClock.h"

#include <QTime>
#include <gtest/gtest.h>

namespace {

TEST(SystemClock, secondsSinceMidnightFollowTheLocalTimeInSeconds) {
    const double before = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double s = platform::clock().SecondsSinceMidnight();
    const double after = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    ASSERT_GE(s, 0.0);
    ASSERT_LT(s, 86400.0);
    if (after >= before) {  // not across midnight
        EXPECT_GE(s, before);
        EXPECT_LE(s, after);
    }
}

TEST(SystemClock, monotonicTimeNeverGoesBack) {
    double last = platform::clock().Monotonic();
    for (int i = 0; i < 1000; ++i) {
        const double now = platform::clock().Monotonic();
        ASSERT_GE(now, last);
        last = now;
    }
}

TEST(SystemClock, textsAreNotEmptyAndTheTimeShowsSeconds) {
    EXPECT_FALSE(platform::clock().DateText().isEmpty());
    EXPECT_TRUE(platform::clock().DateTimeText().startsWith(platform::clock().DateText()));
    // h:mm:ss in any locale: at least two separators.
    EXPECT_GE(platform::clock().TimeText().count(':') + platform::clock().TimeText().count('.'), 2);
}

TEST(ClockSeam, anInstalledClockIsUsedUntilItIsRemoved) {
    platform::Clock* system = &platform::clock();
    {
        FakeClock fake;
        fake.Set(3600.5);
        EXPECT_EQ(&platform::clock(), &fake);
        EXPECT_DOUBLE_EQ(platform::clock().SecondsSinceMidnight(), 3600.5);
    }
    EXPECT_EQ(&platform::clock(), system);
}

TEST(FakeClockDouble, wallTimeWrapsAtMidnightWhileMonotonicKeepsGoing) {
    FakeClock fake;
    fake.Set(86399.0);
    const double mono = fake.Monotonic();
    fake.Advance(2.5);
    EXPECT_DOUBLE_EQ(fake.SecondsSinceMidnight(), 1.5);
    EXPECT_DOUBLE_EQ(fake.Monotonic(), mono + 2.5);
    EXPECT_EQ(fake.TimeText(), "00:00:01");
}

}  // namespace
