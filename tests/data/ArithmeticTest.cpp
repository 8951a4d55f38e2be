#include "data/Arithmetic.h"
#include "data/Overrange.h"
#include "data/Statistics.h"
#include "data/Units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double Over = OverrangeValue;

TEST(IndexPowerLabel, choosesThePrefixAfterNineDecimals) {
    const struct {
        double value;
        int index;
    } cases[] = {
        {0, 0},      {4E-10, 0},   {1E-9, 1},       {5E-7, 1},     {1E-6, 2},
        {0.5, 3},    {1, 4},       {999.9999999994, 4}, {999.9999999996, 5},
        {-2500, 5},  {1E6, 6},     {Over, 6},       {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(IndexPowerLabel(c.value), c.index) << c.value;
}

TEST(AutoPrefixIndex, energyTableStopsAtKilojoules) {
    EXPECT_EQ(AutoPrefixIndex(5E6, 6), 5);
    EXPECT_EQ(AutoPrefixIndex(2E-3, 6), 3);
}

TEST(DecadeExponent, exactAtPowersOfTen) {
    const struct {
        double x;
        int e;
    } cases[] = {
        {0, 0},    {0.0025, -3}, {250, 2},  {1000, 3}, {1E-3, -3}, {1E15, 15},
        {-0.05, -2}, {1, 0},     {9.99, 0}, {999.999, 2}, {1E-300, -300},
    };
    for (const auto& c : cases) EXPECT_EQ(DecadeExponent(c.x), c.e) << c.x;
}

TEST(RatioOf, rulesInOrder) {
    const struct {
        int mode;
        double factor, a, b;
        bool ok;
        double r;
    } cases[] = {
        {0, 1, 0, 0, false, 0},
        {0, 1, 2, 0, true, Over},
        {1, 2, 4, 1, true, 0.5},
        {0, 1, 0, 5, true, 0},
        {1, 1, 0, 2, true, Over},
        {0, 1, Over, Over, false, 0},
        {0, 1, Over, 3, true, Over},
        {0, 1, 3, Over, true, 0},
        {0, 3, 6, 4, true, 4.5},
    };
    for (const auto& c : cases) {
        double r = -7;
        EXPECT_EQ(RatioOf(c.mode, c.factor, c.a, c.b, r), c.ok) << c.a << " " << c.b;
        if (c.ok) EXPECT_DOUBLE_EQ(r, c.r) << c.a << " " << c.b;
        else EXPECT_EQ(r, -7);
    }
}

TEST(DifferenceOf, rulesInOrder) {
    const struct {
        int mode;
        double offset, a, b;
        bool ok;
        double r;
    } cases[] = {
        {0, 0, Over, 3, true, Over},
        {0, 0, 3, Over, true, -Over},
        {1, 0.5, 2, 5, true, 2.5},
        {0, 0, Over, Over, false, 0},
        {0, 0, -Over, Over, false, 0},
        {0, 0, -Over, 1, true, -Over},
        {0, 1, 5, 2, true, 2},
    };
    for (const auto& c : cases) {
        double r = -7;
        EXPECT_EQ(DifferenceOf(c.mode, c.offset, c.a, c.b, r), c.ok) << c.a << " " << c.b;
        if (c.ok) EXPECT_DOUBLE_EQ(r, c.r) << c.a << " " << c.b;
    }
}

TEST(MaxOfMinOf, mixIntegersAndDoubles) {
    EXPECT_EQ(MaxOf(2, 3.5), 3.5);
    EXPECT_EQ(MinOf(-1, 2.5), -1.0);
    EXPECT_EQ(MaxOf(4, 4), 4);
    EXPECT_EQ(MinOf(short(3), 7), 3);
}

TEST(StandardDeviation, sampleDeviationFromSums) {
    EXPECT_EQ(StandardDeviation(5, 25, 1), 0);
    EXPECT_EQ(StandardDeviation(0, 0, 0), 0);
    EXPECT_DOUBLE_EQ(StandardDeviation(6, 14, 3), 1);
    // Equal readings can leave a tiny negative residue: never a NaN.
    const double v = 0.1 + 0.2;
    const double sd = StandardDeviation(7 * v, 7 * v * v * (1 - 1E-16), 7);
    EXPECT_FALSE(std::isnan(sd));
    EXPECT_LT(sd, 1E-7);
}

TEST(RunningStats, skipsOverrangeAndKeepsNegativeExtremes) {
    RunningStats s;
    EXPECT_TRUE(s.Add(-5));
    EXPECT_TRUE(s.Add(-2));
    EXPECT_FALSE(s.Add(Over));
    EXPECT_FALSE(s.Add(-Over));
    EXPECT_FALSE(s.Add(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(s.Add(-8));
    EXPECT_EQ(s.Count, 3);
    EXPECT_EQ(s.Min, -8);
    EXPECT_EQ(s.Max, -2);
    EXPECT_DOUBLE_EQ(s.Average(), -5);
    EXPECT_DOUBLE_EQ(s.StdDev(), 3);

    s.Reset();
    EXPECT_TRUE(s.Empty());
    EXPECT_EQ(s.Average(), 0);
    EXPECT_EQ(s.StdDev(), 0);
    s.Add(7);
    EXPECT_EQ(s.Min, 7);
    EXPECT_EQ(s.Max, 7);
}

}  // namespace
