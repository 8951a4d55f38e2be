#include "data/Arithmetic.h"
#include "data/Overrange.h"
#include "data/Statistics.h"
#include "data/Units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double Over = OverrangeValue;
struct PairCase {
    int mode;
    double k, a, b;
    bool ok;
    double r;
};

TEST(RatioOf, rulesInOrder) {
    const PairCase cases[] = {
        {0, 1, 0, 0, false, 0},      {0, 1, 2, 0, true, Over}, {1, 2, 4, 1, true, 0.5},
        {0, 1, 0, 5, true, 0},       {1, 1, 0, 2, true, Over}, {0, 1, Over, Over, false, 0},
        {0, 1, Over, 3, true, Over}, {0, 1, 3, Over, true, 0}, {0, 3, 6, 4, true, 4.5}};
    for (const auto& c : cases) {
        double r = -7;
        EXPECT_EQ(RatioOf(c.mode, c.k, c.a, c.b, r), c.ok) << c.a << " " << c.b;
        EXPECT_DOUBLE_EQ(r, c.ok ? c.r : -7) << c.a << " " << c.b;
    }
}
TEST(DifferenceOf, rulesInOrder) {
    const PairCase cases[] = {{0, 0, Over, 3, true, Over},   {0, 0, 3, Over, true, -Over},
                              {1, 0.5, 2, 5, true, 2.5},     {0, 0, Over, Over, false, 0},
                              {0, 0, -Over, 1, true, -Over}, {0, 1, 2, 5, true, -4}};
    for (const auto& c : cases) {
        double r = -7;
        EXPECT_EQ(DifferenceOf(c.mode, c.k, c.a, c.b, r), c.ok) << c.a << " " << c.b;
        EXPECT_DOUBLE_EQ(r, c.ok ? c.r : -7) << c.a << " " << c.b;
    }
}

TEST(IndexPowerLabel, prefixAfterRoundingToNineDecimals) {
    const std::pair<double, int> cases[] = {
        {0, 0},      {4E-10, 0}, {6E-10, 1},          {1E-9, 1},  {9.99E-7, 1},  {1E-6, 2}, {1E-3, 3},
        {0.9999, 3}, {1, 4},     {999.9999999996, 5}, {-2500, 5}, {999999.9, 5}, {1E6, 6},  {-3E9, 6}};
    for (auto [value, index] : cases) EXPECT_EQ(IndexPowerLabel(value), index) << value;
}

TEST(RunningStats, skipsOverrangeAndGivesSampleDeviation) {
    RunningStats s;
    for (double v : {-5.0, -2.0, Over, -Over, std::nan(""), -8.0}) s.Add(v);
    EXPECT_EQ(s.Count, 3);
    EXPECT_EQ(s.Min, -8);
    EXPECT_EQ(s.Max, -2);
    EXPECT_DOUBLE_EQ(s.Average(), -5);
    EXPECT_DOUBLE_EQ(s.StdDev(), 3);
    s.Reset();
    EXPECT_EQ(s.Average(), 0);
    s.Add(7);
    EXPECT_EQ(s.Min + s.Max, 14);
    EXPECT_EQ(s.StdDev(), 0);  // n = 1
    EXPECT_DOUBLE_EQ(StandardDeviation(6, 14, 3), 1);
    // Equal readings can leave a tiny negative residue: never a NaN.
    const double v = 0.1 + 0.2;
    EXPECT_LT(StandardDeviation(7 * v, 7 * v * v * (1 - 1E-16), 7), 1E-7);
}

}  // namespace
