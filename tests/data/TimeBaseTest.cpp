#include "SeparatorScope.h"
#include "app/AppState.h"
#include "data/TimeBase.h"

#include <gtest/gtest.h>

namespace {

TEST(ElapsedSeconds, countsTheFirstMidnight) {
    ResetAppState();
    EXPECT_DOUBLE_EQ(ElapsedSeconds(86390, 5), 15);
    EXPECT_EQ(App().DayCount, 1);
    EXPECT_DOUBLE_EQ(ElapsedSeconds(86390, 10), 20);
    EXPECT_EQ(App().DayCount, 1);
}

TEST(ElapsedSeconds, keepsCountingAcrossLaterMidnights) {
    ResetAppState();
    const double start = 86000;
    const struct {
        double now;
        double elapsed;
        int days;
    } steps[] = {
        {86300, 300, 0},
        {100, 500, 1},
        {43000, 43400, 1},
        {86399, 86799, 1},
        {50, 86850, 2},  // the second midnight: the clock is above the start again
        {60000, 146800, 2},
        {20, 173220, 3},
    };
    for (const auto& s : steps) {
        EXPECT_DOUBLE_EQ(ElapsedSeconds(start, s.now), s.elapsed) << s.now;
        EXPECT_EQ(App().DayCount, s.days) << s.now;
    }
}

TEST(ElapsedSeconds, sameDayNeedsNoCarry) {
    ResetAppState();
    EXPECT_DOUBLE_EQ(ElapsedSeconds(100, 150.5), 50.5);
    EXPECT_EQ(App().DayCount, 0);
}

TEST(SecondsToClock, hundredthsCarryIntoSecondsMinutesHours) {
    SeparatorScope sep(".");
    const struct {
        float h, m, s;
        const char* text;
    } cases[] = {
        {1, 5, 9.25f, "01:05:09.25"},
        {0, 0, 3909.25f, "01:05:09.25"},
        {0, 0, 0, "00:00:00.00"},
        {0, 0, 0.125f, "00:00:00.12"},  // ties to even
        {0, 0, 0.375f, "00:00:00.38"},
        {0, 0, 59.996f, "00:01:00.00"},
        {0, 0, 3599.999f, "01:00:00.00"},
        {0, 0, 86399.99f, "23:59:59.99"},
        {100, 0, 0, "100:00:00.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(SecondsToClock(c.h, c.m, c.s), c.text) << c.s;
}

}  // namespace
