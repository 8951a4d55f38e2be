#include "data/Arithmetic.h"
#include "data/Overrange.h"
#include "data/Statistics.h"
#include "data/Units.h"

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

// Count, extremes and sample deviation are pinned through the power window's
// labels; equal readings can leave a tiny negative residue: never a NaN.
TEST(StandardDeviation, equalReadingsNeverGiveANaN) {
    const double v = 0.1 + 0.2;
    EXPECT_LT(StandardDeviation(7 * v, 7 * v * v * (1 - 1E-16), 7), 1E-7);
}
