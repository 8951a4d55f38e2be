#include "power/PowerSetupRules.h"

#include <gtest/gtest.h>
#include <QPointF>
#include <array>

namespace {

const UnitFactors kFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3, 1e-6};
constexpr int16_t mW = 3, W = 4, kW = 5;

TEST(PowerSetupRules, logTimeSplitsAndJoinsWithinOneDay) {
    for (auto [seconds, parts] :
         {std::pair{3725, LogTimeParts{1, 2, 5}}, {90000, {24, 0, 0}}, {-5, {0, 0, 0}}})
        EXPECT_EQ(SplitLogTime(seconds), parts) << seconds;
    EXPECT_EQ(std::pair(JoinLogTime({1, 2, 5}), JoinLogTime({24, 30, 10})), std::pair(3725, 86400));
}

TEST(PowerSetupRules, highBarKeepsAboveLowAndUnderThirtyKilowattsAndUnitAndCoefficientFallBack) {
    // bar, low, exponent, unit -> high
    const std::tuple<int, double, int16_t, int16_t, double> cases[] = {
        {999, 0, 0, kW, 30}, {999, 0, 2, W, 300},  {999, 0, 1, kW, 3},
        {30, 0, 0, kW, 30},  {999, 0, 2, mW, 999}, {10, 50, 0, W, 51}};
    for (auto [bar, low, exponent, unit, high] : cases)
        EXPECT_DOUBLE_EQ(HighAfterMove(bar, low, exponent, kFactors[unit]), high) << bar;
    // Until the high limit fits: unit, bar, exponent -> unit; W x 100 passes 999 kW too, MW (6) is not listed
    for (auto [unit, bar, exponent, fit] :
         {std::array<int, 4>{kW, 999, 0, W}, {kW, 30, 0, kW}, {kW, 999, 2, mW}, {6, 1, 0, kW}})
        EXPECT_EQ(FitUnit(int16_t(unit), bar, int16_t(exponent), kFactors), fit) << unit << " " << bar;
    for (auto [bar, unit, coefficient] : {std::array<int, 3>{999, W, 1}, {300, W, 2}, {999, kW, 0}})
        EXPECT_EQ(FitCoefficient(2, bar, kFactors[size_t(unit)]), coefficient) << bar;
}

TEST(PowerSetupRules, okPutsHighAboveLowAndLowNotBelowZeroAndStoredLimitsShowInTheUnitOfTheHighLimit) {
    const std::array<int, 4> cases[] = {
        {50, 20, 19, 20}, {5, 0, 0, 1}, {999, 999, 998, 999}, {10, 20, 10, 20}};
    for (auto [lowBar, highBar, low, high] : cases) {
        const ConfirmedLimits r = ConfirmLimits(lowBar, highBar, 1);
        EXPECT_EQ(QPointF(r.LowValue, r.HighValue), QPointF(low, high)) << lowBar << "/" << highBar;
    }
    // Stored: graph low, high, exponent -> unit, low bar, high bar; 5e6 is beyond the list (kW, bar at
    // its end), 25 and 35 in x 10 W are 2.5 and 3.5: halves to even
    const std::tuple<double, double, int16_t, std::array<int, 3>> stored[] = {
        {0.001, 0.5, 0, {mW, 1, 500}}, {0, 30000, 0, {kW, 0, 30}}, {0, 30000, 2, {W, 0, 300}},
        {2, 8, 1, {mW, 200, 800}},     {0, 5e6, 0, {kW, 0, 999}},  {25, 35, 1, {W, 2, 4}}};
    for (auto [graphLow, graphHigh, exponent, view] : stored) {
        const LimitView v = ViewOfLimits(graphLow, graphHigh, exponent, kFactors);
        EXPECT_EQ((std::array<int, 3>{v.UnitIndex, v.LowBar, v.HighBar}), view) << graphHigh;
    }
}

TEST(PowerSetupRules, typedNumbersAreDigitsWithinTheBar) {
    const std::tuple<const char*, int, std::optional<int>> cases[] = {
        {"", 999, 0},    {"999", 999, 999}, {"12a", 999, {}}, {"-1", 999, {}},
        {" 5", 999, {}}, {"24", 24, 24},    {"25", 24, {}},   {"60", 59, {}}};
    for (auto [text, maximum, value] : cases)
        EXPECT_EQ(maximum == 999 ? TypedLimit(text) : TypedTimePart(text, maximum), value) << text;
}

}  // namespace
