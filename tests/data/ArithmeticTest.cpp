#include "data/Arithmetic.h"
#include "data/Overrange.h"
#include "data/Readout.h"
#include "data/Statistics.h"
#include "data/TimeBase.h"
#include "data/Units.h"
#include "support/ProgramState.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

constexpr double Over = OverrangeValue;

TEST(PairArithmetic, ratioAndDifferenceRulesInOrder) {
    const auto R = &RatioOf, D = &DifferenceOf;
    // function, mode, factor or offset, a, b -> defined, result
    const std::tuple<decltype(R), int, double, double, double, bool, double> cases[] = {
        {R, 0, 1, 0, 0, false, 0},       {R, 0, 1, 2, 0, true, Over},      {R, 1, 2, 4, 1, true, 0.5},
        {R, 0, 1, 0, 5, true, 0},        {R, 1, 1, 0, 2, true, Over},      {R, 0, 1, Over, Over, false, 0},
        {R, 0, 1, Over, 3, true, Over},  {R, 0, 1, 3, Over, true, 0},      {R, 0, 3, 6, 4, true, 4.5},
        {D, 0, 0, Over, 3, true, Over},  {D, 0, 0, 3, Over, true, -Over},  {D, 1, 0.5, 2, 5, true, 2.5},
        {D, 0, 0, Over, Over, false, 0}, {D, 0, 0, -Over, 1, true, -Over}, {D, 0, 1, 2, 5, true, -4}};
    for (const auto& [f, mode, k, a, b, ok, want] : cases) {
        double r = -7;
        EXPECT_EQ(f(mode, k, a, b, r), ok) << a << " " << b;
        EXPECT_DOUBLE_EQ(r, ok ? want : -7) << a << " " << b;
    }
}

TEST(IndexPowerLabel, prefixAfterRoundingToNineDecimals) {
    const std::pair<double, int> cases[] = {
        {0, 0},      {4E-10, 0}, {6E-10, 1},          {1E-9, 1},  {9.99E-7, 1},  {1E-6, 2}, {1E-3, 3},
        {0.9999, 3}, {1, 4},     {999.9999999996, 5}, {-2500, 5}, {999999.9, 5}, {1E6, 6},  {-3E9, 6}};
    for (auto [value, index] : cases) EXPECT_EQ(IndexPowerLabel(value), index) << value;
}

// Extremes, average and the sample deviation of several readings are pinned through the power
// statistics labels; one reading has no spread, and equal readings can leave a tiny negative
// residue: never a NaN.
TEST(RunningStatsTest, oneReadingSetsEverythingWithNoSpreadAndTheDeviationIsNeverANaN) {
    RunningStats s;
    ASSERT_TRUE(s.Add(3));
    EXPECT_EQ(std::tuple(s.Min, s.Max, s.Average(), s.StdDev()), std::tuple(3.0, 3.0, 3.0, 0.0));
    const double v = 0.1 + 0.2;
    EXPECT_LT(StandardDeviation(7 * v, 7 * v * v * (1 - 1E-16), 7), 1E-7);
}

TEST(ReadoutThrottleTest, dueWhenTheIntervalHasPassedAndMidnightIsTimeGoingOn) {
    ReadoutThrottle throttle(0.3);
    // Time of day, due; the last two cross midnight (0.2 s and 0.35 s after the last shown).
    const std::pair<double, bool> steps[] = {{0, true},       {0.299, false}, {0.3, true}, {0.5, false},
                                             {86399.9, true}, {0.1, false},   {0.25, true}};
    for (auto [now, due] : steps) EXPECT_EQ(throttle.Due(now), due) << now;
    throttle.Reset();
    EXPECT_TRUE(throttle.Due(0.26));
}

// A run started at 86390, then one started at 86000 that runs over three midnights.
TEST(TimeBase, elapsedSecondsCountEveryMidnightAndClockTextsCarry) {
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
    // Clock texts: hundredths carry into seconds, minutes and hours.
    SeparatorScope sep(".");
    const std::tuple<float, float, float, const char*> cases[] = {
        {1, 5, 9.25f, "01:05:09.25"},     {0, 0, 3909.25f, "01:05:09.25"}, {0, 0, 0.125f, "00:00:00.12"},
        {0, 0, 0.375f, "00:00:00.38"},    {0, 0, 59.996f, "00:01:00.00"},  {0, 0, 3599.999f, "01:00:00.00"},
        {0, 0, 86399.99f, "23:59:59.99"}, {100, 0, 0, "100:00:00.00"},     {0, 0, 0, "00:00:00.00"}};
    for (auto [h, m, sec, text] : cases) EXPECT_EQ(SecondsToClock(h, m, sec), text) << sec;
}
