#include "power/PowerSetupRules.h"

#include <gtest/gtest.h>

namespace {

const UnitFactors kFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3, 1e-6};
constexpr int16_t mW = 3, W = 4, kW = 5;

TEST(PowerSetupRules, logTimeSplitsAndJoinsWithinOneDay) {
    EXPECT_EQ(SplitLogTime(3725), (LogTimeParts{1, 2, 5}));
    EXPECT_EQ(SplitLogTime(90000), (LogTimeParts{24, 0, 0}));
    EXPECT_EQ(SplitLogTime(-5), (LogTimeParts{0, 0, 0}));
    EXPECT_EQ(JoinLogTime({1, 2, 5}), 3725);
    EXPECT_EQ(JoinLogTime({24, 30, 10}), 86400);
}

TEST(PowerSetupRules, highBarKeepsAboveLowAndUnderThirtyKilowatts) {
    struct Case {
        int bar;
        double low;
        int16_t exponent, unit;
        double high;
    } cases[] = {{999, 0, 0, kW, 30}, {999, 0, 2, W, 300},  {999, 0, 1, kW, 3},
                 {30, 0, 0, kW, 30},  {999, 0, 2, mW, 999}, {10, 50, 0, W, 51}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(HighAfterMove(c.bar, c.low, c.exponent, kFactors[c.unit]), c.high) << c.bar;
}

TEST(PowerSetupRules, unitAndCoefficientFallBackUntilTheHighLimitFits) {
    EXPECT_EQ(FitUnit(kW, 999, 0, kFactors), W);
    EXPECT_EQ(FitUnit(kW, 30, 0, kFactors), kW);
    EXPECT_EQ(FitUnit(kW, 999, 2, kFactors), mW);  // W x 100 passes it too
    EXPECT_EQ(FitUnit(6, 1, 0, kFactors), kW);     // MW is not listed
    EXPECT_EQ(FitCoefficient(2, 999, kFactors[W]), 1);
    EXPECT_EQ(FitCoefficient(2, 300, kFactors[W]), 2);
    EXPECT_EQ(FitCoefficient(2, 999, kFactors[kW]), 0);
}

TEST(PowerSetupRules, okPutsHighAboveLowAndLowNotBelowZero) {
    struct Case {
        int lowBar, highBar;
        double low, high;
    } cases[] = {{50, 20, 19, 20}, {5, 0, 0, 1}, {999, 999, 998, 999}, {10, 20, 10, 20}};
    for (const auto& c : cases) {
        const ConfirmedLimits r = ConfirmLimits(c.lowBar, c.highBar, 1);
        EXPECT_DOUBLE_EQ(r.LowValue, c.low) << c.lowBar << "/" << c.highBar;
        EXPECT_DOUBLE_EQ(r.HighValue, c.high) << c.lowBar << "/" << c.highBar;
    }
}

TEST(PowerSetupRules, storedLimitsShowInTheUnitOfTheHighLimit) {
    struct Case {
        double graphLow, graphHigh;
        int16_t exponent, unit;
        int lowBar, highBar;
    } cases[] = {
        {0.001, 0.5, 0, mW, 1, 500}, {0, 30000, 0, kW, 0, 30}, {0, 30000, 2, W, 0, 300},
        {2, 8, 1, mW, 200, 800},     {0, 5e6, 0, kW, 0, 999},  // beyond the list: kW, bar at its end
        {25, 35, 1, W, 2, 4},                                  // 2.5 and 3.5: halves to even
    };
    for (const auto& c : cases) {
        const LimitView v = ViewOfLimits(c.graphLow, c.graphHigh, c.exponent, kFactors);
        EXPECT_EQ(v.UnitIndex, c.unit) << c.graphHigh;
        EXPECT_EQ(v.LowBar, c.lowBar) << c.graphHigh;
        EXPECT_EQ(v.HighBar, c.highBar) << c.graphHigh;
    }
}

TEST(PowerSetupRules, typedNumbersAreDigitsWithinTheBar) {
    struct Case {
        const char* text;
        int maximum;
        std::optional<int> value;
    } cases[] = {{"", 999, 0},    {"999", 999, 999}, {"12a", 999, {}}, {"-1", 999, {}},
                 {" 5", 999, {}}, {"24", 24, 24},    {"25", 24, {}},   {"60", 59, {}}};
    for (const auto& c : cases) {
        const auto got = c.maximum == 999 ? TypedLimit(c.text) : TypedTimePart(c.text, c.maximum);
        EXPECT_EQ(got, c.value) << c.text;
    }
}

}  // namespace
