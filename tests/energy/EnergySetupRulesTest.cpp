#include "energy/EnergySetupRules.h"

#include <gtest/gtest.h>

namespace {

const EnergyFactors kFactors = {1e12, 1e9, 1e6, 1e3, 1, 1e-3};
constexpr int16_t pJ = 0, uJ = 2, mJ = 3, J = 4;

TEST(EnergySetupRules, barsReadTheirTablesAndCaptionTheValue) {
    const int rates[] = {1, 3, 5, 10, 20, 30, 50, 100, 200, 300, 400, 500, 600, 800, 1000};
    const int heights[] = {10, 20, 30, 40, 50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
    for (int p = 1; p <= 15; ++p)
        EXPECT_EQ(std::tuple(StorageRateAt(p), StorageRatePosition(rates[p - 1]).value_or(0),
                             InitialSizeAt(p), InitialSizePosition(heights[p - 1]).value_or(0)),
                  std::tuple(rates[p - 1], p, heights[p - 1], p));
    EXPECT_EQ(std::pair(StorageRatePosition(7), InitialSizePosition(150)),
              std::pair(std::optional<int>(), std::optional<int>()));
    EXPECT_EQ(QStringList({BinsCaption(BinsAt(3)), InitialSizeCaption(100), StorageRateCaption(10),
                           StorageRateCaption(1)}),
              QStringList({"Count 15", "Initial size 100", "One out of  10", "Store All Readings"}));
    EXPECT_EQ(std::pair(StorageStyleShown(1), StorageStyleShown(3)), std::pair(false, true));
    for (auto [bins, position] : {std::pair{10, 2}, {12, 2}, {13, 3}, {100, 20}, {500, 20}, {0, 1}})
        EXPECT_EQ(BinsPosition(bins), position) << bins;
    // One for Min/Max, two for Average.
    EXPECT_EQ((std::array{StatisticsOption(false, false), StatisticsOption(true, false),
                          StatisticsOption(false, true), StatisticsOption(true, true)}),
              (std::array<int16_t, 4>{0, 1, 2, 3}));
}

TEST(EnergySetupRules, rightLimitStaysBetweenOneAndThousandJoulesAndUnitAndScaleFallBack) {
    const std::tuple<int, int16_t, int16_t, double> cases[] = {
        // bar, unit, scale -> high
        {11, J, 2, 10}, {101, J, 1, 100}, {999, J, 0, 999},  {100, J, 1, 100},
        {0, mJ, 0, 1},  {0, J, 2, 1},     {999, mJ, 2, 999}, {5, uJ, 0, 5},
    };
    for (auto [bar, unit, scale, high] : cases)
        EXPECT_DOUBLE_EQ(RightAfterMove(bar, scale, kFactors[unit]), high) << bar << " " << scale;
    EXPECT_EQ(FitEnergyUnit(J, 20, 2, kFactors), mJ);  // 2000 J
    EXPECT_EQ(FitEnergyUnit(J, 10, 2, kFactors), J);   // 1000 J
    EXPECT_EQ(FitEnergyUnit(5, 1, 0, kFactors), J);    // kJ is not listed
    for (auto [bar, unit, scale] : {std::tuple{999, J, 0}, {101, J, 0}, {100, J, 1}, {999, mJ, 2}})
        EXPECT_EQ(FitEnergyScale(2, bar, kFactors[unit]), scale) << bar;
}

TEST(EnergySetupRules, okStoresJoulesShownAgainAndStoredLimitsShowInTheUnitOfTheHighLimitKeepingOddValues) {
    // Bars, unit and scale; the limits stored in joules; the bars shown again.
    const std::tuple<int, int, int16_t, int16_t, double, double, int, int> cases[] = {
        {50, 50, mJ, 0, 0.049, 0.05, 49, 50},  // crossed: a unit below the right one
        {0, 1, mJ, 0, 0, 0.001, 0, 1},         // 0/0 after the right bar's minimum
        {5, 0, J, 1, 0, 10, 0, 1},
        {20, 500, uJ, 1, 2e-4, 5e-3, 20, 500},
        {0, 10, J, 2, 0, 1000, 0, 10},
        {200, 600, pJ, 0, 2e-10, 6e-10, 200, 600},  // not 0 and 1 nJ
        {200, 600, pJ, 2, 2e-8, 6e-8, 200, 600},
    };
    for (auto [left, right, unit, scale, low, high, shownLeft, shownRight] : cases) {
        EnergySettings s;
        StoreChoices({.UnitIndex = unit, .ScaleIndex = scale}, left, right, kFactors, s);
        EXPECT_EQ(std::tuple(s.EnergyLowLimit, s.EnergyHighLimit, s.EnergyScaleIndex),
                  std::tuple(low, high, scale))
            << left << "/" << right;
        const EnergyChoices shown = ChoicesOf(s, kFactors);
        EXPECT_EQ(std::tuple(shown.UnitIndex, BarFromValue(shown.LowValue), BarFromValue(shown.HighValue)),
                  std::tuple(unit, shownLeft, shownRight))
            << high;
    }
    // Stored limits: low, high and scale -> unit and bars.
    // clang-format off
    const std::tuple<double, double, int16_t, int16_t, int, int> stored[] = {
        {0, 1, 0, J, 0, 1},
        {0.2, 5, 0, J, 0, 5},          // not 200 (mJ) beside 5 J
        {0.005, 0.5, 0, mJ, 5, 500},
        {0, 5000, 0, J, 0, 999},       // beyond 1000 J: the end of the bar
        {25, 35, 1, J, 2, 4}};         // 2.5 and 3.5 J x 10: halves to even
    // clang-format on
    for (auto [low, high, scale, unit, left, right] : stored) {
        EnergySettings s;
        std::tie(s.EnergyLowLimit, s.EnergyHighLimit, s.EnergyScaleIndex) = std::tuple(low, high, scale);
        const EnergyChoices shown = ChoicesOf(s, kFactors);
        EXPECT_EQ(std::tuple(shown.UnitIndex, BarFromValue(shown.LowValue), BarFromValue(shown.HighValue)),
                  std::tuple(unit, left, right))
            << high;
    }
    // Untouched, odd bins, size and rate (no bar position) are kept; unknown options fall back.
    EnergySettings in, out;
    std::tie(in.EnergyBinsCount, in.EnergyInitialSize, in.EnergyStorageRate) = std::tuple(12, 150, 7);
    std::tie(in.EnergyStorageStyle, in.EnergyDisplayStyle, in.EnergyStorageMode) = std::tuple(0, 7, -1);
    StoreChoices(ChoicesOf(in, kFactors), 0, 1, kFactors, out);
    EXPECT_EQ((std::array<int, 6>{out.EnergyBinsCount, out.EnergyInitialSize, out.EnergyStorageRate,
                                  out.EnergyStorageStyle, out.EnergyDisplayStyle, out.EnergyStorageMode}),
              (std::array<int, 6>{12, 150, 7, 1, 0, 0}));
}

}  // namespace
