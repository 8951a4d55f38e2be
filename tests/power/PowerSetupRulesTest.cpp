#include "power/PowerSetupRules.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

const UnitFactors kFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3, 1e-6};
constexpr int16_t mW = 3, W = 4, kW = 5;

TEST(PowerSetupRules, logTimeSplitsIntoHoursMinutesSecondsWithinOneDay) {
    struct Case {
        int32_t logTime;
        LogTimeParts parts;
    } cases[] = {
        {3725, {1, 2, 5}}, {0, {0, 0, 0}},     {59, {0, 0, 59}},
        {86400, {24, 0, 0}}, {90000, {24, 0, 0}}, {-5, {0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLogTime(c.logTime), c.parts) << c.logTime;
}

TEST(PowerSetupRules, logTimeJoinsToSecondsAndStopsAtOneDay) {
    EXPECT_EQ(JoinLogTime({1, 2, 5}), 3725);
    EXPECT_EQ(JoinLogTime({0, 59, 59}), 3599);
    EXPECT_EQ(JoinLogTime({24, 0, 0}), 86400);
    EXPECT_EQ(JoinLogTime({24, 30, 10}), 86400);
}

TEST(PowerSetupRules, highBarKeepsAboveLowAndUnderThirtyKilowatts) {
    struct Case {
        int bar;
        double low;
        int16_t exponent;
        int16_t unit;
        double high;
    } cases[] = {
        {999, 0, 0, kW, 30},   // 999 kW: the 30 kW ceiling
        {999, 0, 2, W, 300},   // 99.9 kW in W x 100
        {999, 0, 1, kW, 3},    // 9990 kW in kW x 10
        {30, 0, 0, kW, 30},    // exactly the ceiling stays
        {500, 0, 0, W, 500},
        {999, 0, 2, mW, 999},  // 99.9 W
        {10, 50, 0, W, 51},    // below Low: one above it
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(HighAfterMove(c.bar, c.low, c.exponent, kFactors[c.unit]), c.high)
            << c.bar << " exp " << c.exponent << " unit " << c.unit;
}

TEST(PowerSetupRules, unitAndCoefficientFallBackUntilTheHighLimitFits) {
    EXPECT_EQ(FitUnit(kW, 999, 0, kFactors), W);
    EXPECT_EQ(FitUnit(kW, 30, 0, kFactors), kW);
    EXPECT_EQ(FitUnit(kW, 999, 2, kFactors), mW);  // W x 100 would pass it too
    EXPECT_EQ(FitUnit(W, 300, 2, kFactors), W);
    EXPECT_EQ(FitUnit(mW, 999, 2, kFactors), mW);
    EXPECT_EQ(FitUnit(6, 1, 0, kFactors), kW);  // MW is not in the list

    EXPECT_EQ(FitCoefficient(2, 999, kFactors[W]), 1);
    EXPECT_EQ(FitCoefficient(2, 300, kFactors[W]), 2);
    EXPECT_EQ(FitCoefficient(2, 999, kFactors[kW]), 0);
    EXPECT_EQ(FitCoefficient(0, 999, kFactors[kW]), 0);
}

TEST(PowerSetupRules, okPutsHighAboveLowAndLowNotBelowZero) {
    struct Case {
        int lowBar, highBar;
        double low, high;
    } cases[] = {
        {50, 20, 19, 20}, {5, 0, 0, 1}, {0, 0, 0, 1}, {999, 999, 998, 999}, {10, 20, 10, 20},
    };
    for (const auto& c : cases) {
        const ConfirmedLimits r = ConfirmLimits(c.lowBar, c.highBar, 1);
        EXPECT_DOUBLE_EQ(r.LowValue, c.low) << c.lowBar << "/" << c.highBar;
        EXPECT_DOUBLE_EQ(r.HighValue, c.high) << c.lowBar << "/" << c.highBar;
        EXPECT_EQ(r.ScaleExponent, 1);
    }
}

TEST(PowerSetupRules, storedLimitsShowInTheUnitOfTheHighLimit) {
    struct Case {
        double graphLow, graphHigh;
        int16_t exponent;
        int16_t unit;
        int lowBar, highBar;
    } cases[] = {
        {0.001, 0.5, 0, mW, 1, 500},
        {0, 30000, 0, kW, 0, 30},
        {0, 30000, 2, W, 0, 300},
        {2, 8, 1, mW, 200, 800},    // 0.8 W in x 10: mW
        {0, 5e6, 0, kW, 0, 999},    // beyond the list: kW, bar at its end
        {25, 35, 1, W, 2, 4},       // 2.5 and 3.5 W: halves to even
    };
    for (const auto& c : cases) {
        const LimitView v = ViewOfLimits(c.graphLow, c.graphHigh, c.exponent, kFactors);
        EXPECT_EQ(v.UnitIndex, c.unit) << c.graphHigh;
        EXPECT_EQ(v.LowBar, c.lowBar) << c.graphHigh;
        EXPECT_EQ(v.HighBar, c.highBar) << c.graphHigh;
    }
}

TEST(PowerSetupRules, barPositionsAreWholeAndWithinTheBar) {
    EXPECT_EQ(BarFromValue(2.5), 2);
    EXPECT_EQ(BarFromValue(3.5), 4);
    EXPECT_EQ(BarFromValue(1e9), 999);
    EXPECT_EQ(BarFromValue(-3), 0);
    EXPECT_EQ(BarFromValue(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(BarFromValue(std::numeric_limits<double>::infinity()), 999);
}

TEST(PowerSetupRules, typedNumbersAreDigitsWithinTheBar) {
    struct Case {
        const char* text;
        int maximum;
        std::optional<int> value;
    } cases[] = {
        {"", 999, 0},     {"999", 999, 999}, {"007", 999, 7},        {"12a", 999, std::nullopt},
        {"-1", 999, {}},  {" 5", 999, {}},   {"1.5", 999, {}},       {"24", 24, 24},
        {"25", 24, {}},   {"59", 59, 59},    {"60", 59, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto got = c.maximum == kLimitBarMax ? TypedLimit(c.text) : TypedTimePart(c.text, c.maximum);
        EXPECT_EQ(got, c.value) << c.text;
    }
}

}  // namespace
