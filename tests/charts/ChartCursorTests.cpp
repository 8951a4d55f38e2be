#include "charts/ChartCursor.h"
#include "data/NumberFormat.h"
#include "state/AppState.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

// A 160 x 100 chart: plot from (11, 7) to (151, 91); the mouse over it reads
// back the time and value that would be drawn there.
class ChartCursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        SetDecimalSeparator(".");
        s.Width = 160;
        s.Height = 100;
    }
    void TearDown() override { SetDecimalSeparator(QString()); }
    void Draw(float start, float span, float yMin, float yMax) {
        s.YMin = yMin;
        s.YMax = yMax;
        DrawChart(0, s, surface, start, span);
    }
    ChartSettings s;
    RecordingSurface surface;
};

TEST_F(ChartCursorTest, positionsOnThePlotReadBackAsTimeAndValue) {
    struct Case {
        float start, span, yMin, yMax;
        double x, y;
        std::optional<std::pair<double, double>> at;  // time, value
        QString text;
    };
    const Case cases[] = {
        {0, 240, 0, 1, 11, 91, {{0, 0}}, "Time: 0.00 s   Power: 0W"},
        {0, 240, 0, 1, 151, 7, {{240, 1}}, "Time: 240.00 s   Power: 1.000W"},
        {0, 240, 0, 1, 81, 49, {{120, 0.5}}, "Time: 120.00 s   Power: 500.0mW"},
        {0, 600, 0.01f, 0.02f, 81, 70, {{300, 0.0125}}, "Time: 5.00 min   Power: 12.50mW"},
        // A viewer zoomed to 600..840 s: the left edge is its start.
        {600, 240, 0, 1, 46, 91, {{660, 0}}, "Time: 660.00 s   Power: 0W"},
        {0, 240, 0, 1, 10.9, 49, std::nullopt, ""},  // left of the plot
        {0, 240, 0, 1, 81, 91.1, std::nullopt, ""},  // below it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.isEmpty() ? std::string("off the plot") : c.text.toStdString());
        Draw(c.start, c.span, c.yMin, c.yMax);
        const std::optional<ChartCursor> got = CursorAt(s.Screen, s.YMin, c.x, c.y);
        ASSERT_EQ(got.has_value(), c.at.has_value());
        if (got) {
            EXPECT_NEAR(got->Time, c.at->first, 1e-9);
            EXPECT_NEAR(got->Value, c.at->second, 1e-7);
            // Where that point is drawn is where the mouse was.
            const QPointF p = PointPosition(s.Screen, got->Time, got->Value, s.YMin);
            EXPECT_NEAR(std::hypot(p.x() - c.x, p.y() - c.y), 0, 1e-6);
        }
        EXPECT_EQ(CursorTextAt(s, c.x, c.y), c.text);
    }
}

TEST_F(ChartCursorTest, decadeAxesReadInTheirTitle) {
    s.YLabelMode = 0;
    s.YTitle = "Ratio";
    Draw(0, 240, 0, 0.002f);
    EXPECT_EQ(CursorTextAt(s, 81, 49), "Time: 120.00 s   Ratio, E-03: 1.000");
    EXPECT_EQ(CursorAt(ChartSettings{}.Screen, 0, 81, 49), std::nullopt) << "no scales before a drawing";
}

// 12.5 mW on a 0-1 W chart is a flat line on the floor; the range kept on
// the data shows it.
TEST(AutoScaleRange, keepsTheDataOnTheChartWithRoundEdges) {
    struct Case {
        double low, high;
        std::optional<std::pair<float, float>> range;
    };
    const Case cases[] = {
        {0.0125, 0.0125, {{0.0118f, 0.0132f}}},    // one reading: 5 % room, steps of 0.2 mW
        {0.01225, 0.01275, {{0.0122f, 0.0128f}}},  // 12.5 mW +-2 %
        {0.01275, 0.01225, {{0.0122f, 0.0128f}}},  // turned over
        {0, 1, {{0, 1.2f}}},                       // not below 0 for power
        {-0.5, 0.5, {{-0.6f, 0.6f}}},              // a difference may be negative
        {0, 0, std::nullopt},
        {NAN, 1, std::nullopt},
        {0, INFINITY, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
        const std::optional<ChartRange> r = AutoScaleRange(c.low, c.high, 10);
        ASSERT_EQ(r.has_value(), c.range.has_value());
        if (!r) continue;
        EXPECT_FLOAT_EQ(r->Min, c.range->first);
        EXPECT_FLOAT_EQ(r->Max, c.range->second);
    }
}

}  // namespace
