// What the read-outs show and how often: statistics from running sums, and
// the energy window's number and statistics at most every 0.3 s of the time
// of day, whatever the pulse rate.

#include "data/LogLines.h"
#include "data/NumberFormat.h"
#include "data/Readout.h"
#include "data/Statistics.h"
#include "energy/EnergyHarness.h"

TEST(RunningStatsTest, firstReadingSetsEverythingAndTheDeviationIsTheSampleOne) {
    RunningStats s;
    // Reading, then min, max, average and standard deviation (divisor n - 1; 0 for one reading).
    const std::tuple<double, double, double, double, double> steps[] = {
        {3, 3, 3, 3, 0}, {1, 1, 3, 2, std::sqrt(2.0)}, {2, 1, 3, 2, 1}};
    for (auto [reading, min, max, average, deviation] : steps) {
        ASSERT_TRUE(s.Add(reading));
        EXPECT_EQ(std::tuple(s.Min, s.Max, s.Average()), std::tuple(min, max, average)) << reading;
        EXPECT_DOUBLE_EQ(s.StdDev(), deviation) << reading;
    }
}

TEST(ReadoutTextTest, fourDigitsByTheUnroundedMagnitudeAndNoMantissaOfTen) {
    SetDecimalSeparator(".");
    const std::pair<double, const char*> cases[] = {{9.9996, "10.000"}, {10, "10.00"},   {99.99, "99.99"},
                                                    {100, "100.0"},     {-10, "-10.00"}, {1000, "1000"}};
    for (auto [value, text] : cases) EXPECT_EQ(FormatFourDigits(value), text) << value;
    // A mantissa that rounds to ten moves on to the next decade.
    EXPECT_EQ(FormatScientific(0.00999999), "1.00 E-02");
    EXPECT_EQ(FormatScientific(99999), "1.00 E+05");
    SetDecimalSeparator(QString());
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

using EnergyReadoutTest = EnergyTest;

TEST_F(EnergyReadoutTest, numberAndStatisticsRefreshAtMostEveryThreeTenthsOfASecond) {
    UseMeter(sim::Model::Talon, 2);
    Enter(ModeEnergy, "FE");
    StartReadings();
    // Reply, seconds since the one before, the read-out and the Max line after it.
    const std::tuple<const char*, double, const char*, const char*> steps[] = {
        {"*1E-3", 0.5, "1.000mJ", "Max:  1.00mJ"},
        {"*2E-3", 0.28, "1.000mJ", "Max:  1.00mJ"},
        {"*3E-3", 0.04, "3.000mJ", "Max:  3.00mJ"},
        {"*4E-3", 0.28, "3.000mJ", "Max:  3.00mJ"},
        {"*5E-3", 0.32, "5.000mJ", "Max:  5.00mJ"}};
    for (auto [reply, dt, number, max] : steps) {
        Reply(reply, dt);
        EXPECT_EQ(engine.Display.EnergyText, number) << reply;
        EXPECT_EQ(engine.Display.StatLabels[1], max) << reply;
    }
    EXPECT_EQ(engine.Stats().Count, 5);  // every pulse counts, shown or not
}
