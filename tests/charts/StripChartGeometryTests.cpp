#include "charts/ChartGeometry.h"
#include "data/Overrange.h"

#include <gtest/gtest.h>

namespace {

ChartGeometry ScaledScreen(double width, double height, double start, double span, float yMax, float yMin) {
    ChartGeometry g;
    ScreenPlot(g, width, height);
    SetChartScales(g, start, span, yMax, yMin);
    return g;
}

}  // namespace

TEST(ChartGeometry, pointsAreLimitedToTheBandAroundThePlot) {
    // 140 units for 140 s and 84 units for 0..1: one unit per second, 84 per watt.
    ChartGeometry g = ScaledScreen(160, 100, 0, 140, 1, 0);
    struct Case {
        const char* what;
        double time, reading, x, y;
    } cases[] = {
        {"inside", 70, 0.5, 81, 49},
        {"over range at OverY", 10, OverrangeValue, 21, 7 / 1.5},
        {"far above the range stops at OverY", 10, 50, 21, 7 / 1.5},
        {"far below the range stops at UnderY", 10, -50, 21, 93},
        {"before the start stops at the left edge", -5, 0, 11, 91},
        {"after the span stops at the right edge", 500, 1, 151, 7},
        {"not a number goes to the bottom", 10, std::nan(""), 21, 93},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PointPosition(g, c.time, c.reading, 0), QPointF(c.x, c.y)) << c.what;
}

TEST(ChartGeometry, narrowSurfaceNeverInvertsTheLimits) {
    ChartGeometry g = ScaledScreen(15, 12, 0, 10, 1, 0);  // plot right 6 lies left of plot left 11
    QPointF p = PointPosition(g, 5, 0.5, 0);
    EXPECT_DOUBLE_EQ(p.x(), 11);
    EXPECT_TRUE(std::isfinite(p.y()));
    double t1, t2;
    ChartGeometry flat;  // nothing drawn yet: zero-width plot
    TimesFromPlotX(flat, 3, 8, t1, t2);
    EXPECT_EQ(std::pair(t1, t2), std::pair(0.0, 0.0));
}

TEST(ChartGeometry, timeUnitAndLabelPatternFollowTheSpan) {
    struct Case {
        double span;
        const char* unit;
        double value;
        const char* pattern;
    } cases[] = {
        {1, "Seconds", 1, "###0.00"},
        {15, "Seconds", 15, "###0.0"},
        {60, "Seconds", 60, "###0"},
        {240, "Seconds", 240, "###0"},
        {241, "Minutes", 241 / 60.0, "###0.0"},
        {3600, "Minutes", 60, "###0"},
        {14400, "Minutes", 240, "###0"},
        {14401, "Hours", 14401 / 3600.0, "###0.0"},
        {86400, "Hours", 24, "###0"},
        {86401, "", 0, "###0.00"},
    };
    for (const auto& c : cases) {
        TimeUnit u = TimeUnitFor(c.span);
        EXPECT_EQ(u.Name, c.unit) << c.span;
        EXPECT_DOUBLE_EQ(u.Value, c.value) << c.span;
        EXPECT_EQ(TimeLabelPattern(u.Value, 12), c.pattern) << c.span;
    }
    EXPECT_EQ(TimeLabelPattern(15, 5), "###0");  // 15 is a whole multiple of 5 divisions
}

TEST(ChartGeometry, valuePatternFollowsTheRangeRoundedToThreeDecimals) {
    for (auto [range, pattern] : {std::pair{0.0994, "###0.000"}, {0.0996, "###0.00"}, {0.9999, "###0.0"}})
        EXPECT_EQ(PrintedValuePattern(range), pattern) << range;
}
