#include "platform/Clock.h"

#include <gtest/gtest.h>
#include <QTime>

TEST(Clock, systemClockIsLocalSecondsSinceMidnight) {
    const double before = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double s = platform::clock().SecondsSinceMidnight();
    const double after = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    EXPECT_TRUE(after < before || (before <= s && s <= after)) << "unless it ran across midnight";
}
