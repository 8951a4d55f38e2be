#include "data/TimeBase.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

// A run started at 86390, then one started at 86000 that runs over three midnights.
TEST(ElapsedSeconds, countsEveryMidnight) {
    // start, now -> elapsed, days; at 50 the clock is above the start again, still a new day
    const double steps[][4] = {{86390, 5, 15, 1},         {86390, 10, 20, 1},       {86000, 86300, 300, 0},
                               {86000, 100, 500, 1},      {86000, 86399, 86799, 1}, {86000, 50, 86850, 2},
                               {86000, 60000, 146800, 2}, {86000, 20, 173220, 3}};
    FreshProgramState();
    for (const auto& s : steps) {
        if (s[1] == 86300) StartDayCount();  // a new run
        EXPECT_DOUBLE_EQ(ElapsedSeconds(s[0], s[1]), s[2]) << s[1];
        EXPECT_EQ(DayCount(), s[3]) << s[1];
    }
}

TEST(SecondsToClock, hundredthsCarryIntoSecondsMinutesHours) {
    SeparatorScope sep(".");
    const std::tuple<float, float, float, const char*> cases[] = {
        {1, 5, 9.25f, "01:05:09.25"},     {0, 0, 3909.25f, "01:05:09.25"}, {0, 0, 0.125f, "00:00:00.12"},
        {0, 0, 0.375f, "00:00:00.38"},    {0, 0, 59.996f, "00:01:00.00"},  {0, 0, 3599.999f, "01:00:00.00"},
        {0, 0, 86399.99f, "23:59:59.99"}, {100, 0, 0, "100:00:00.00"}};
    for (auto [h, m, sec, text] : cases) EXPECT_EQ(SecondsToClock(h, m, sec), text) << sec;
}
