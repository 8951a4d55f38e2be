#include "charts/StripChart.h"
#include "data/NumberFormat.h"
#include "data/Overrange.h"
#include "state/AppState.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

class StripChartDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        SetDecimalSeparator(".");
        s.Width = 160;
        s.Height = 100;
    }
    void TearDown() override { SetDecimalSeparator(QString()); }

    // Texts printed at one height, left to right.
    QStringList TextsAtY(double y) const {
        QStringList out;
        for (const auto& c : surface.Calls("Print"))
            if (std::abs(c.y1 - y) < 1e-9) out << c.text;
        return out;
    }
    // Lines that run from x1 to x2 at any height (or the other way round).
    int LinesAcross(double x1, double x2) const {
        int n = 0;
        for (const auto& c : surface.Calls("Line"))
            if (std::abs(c.x1 - x1) < 1e-9 && std::abs(c.x2 - x2) < 1e-9) ++n;
        return n;
    }
    int LinesDown(double y1, double y2) const {
        int n = 0;
        for (const auto& c : surface.Calls("Line"))
            if (std::abs(c.y1 - y1) < 1e-9 && std::abs(c.y2 - y2) < 1e-9) ++n;
        return n;
    }
    void AddPoint(double time, double reading, int index) {
        s.LastTime = time;
        s.LastReading = reading;
        s.LastIndex = index;
        DrawChart(1, s, surface, 0, 0);
    }

    ChartSettings s;
    RecordingSurface surface;
};

}  // namespace

TEST_F(StripChartDraw, timeAxisOf240SecondsCountsSecondsInTwenties) {
    DrawChart(0, s, surface, 0, 240);
    EXPECT_EQ(TextsAtY(91), QStringList({"0", "20", "40", "60", "80", "100", "120", "140", "160", "180",
                                         "200", "220", "240"}));
    EXPECT_NE(surface.Printed("Time, Seconds"), nullptr);
    EXPECT_DOUBLE_EQ(surface.Printed("120")->x1, 11 + 6 * 140 / 12.0 - 2);  // 2 units left of its division
}

TEST_F(StripChartDraw, timeAxisOf241SecondsSwitchesToMinutesWithOneDecimal) {
    DrawChart(0, s, surface, 0, 241);
    EXPECT_EQ(TextsAtY(91), QStringList({"0", "0.3", "0.7", "1.0", "1.3", "1.7", "2.0", "2.3", "2.7", "3.0",
                                         "3.3", "3.7", "4.0"}));
    EXPECT_NE(surface.Printed("Time, Minutes"), nullptr);
    EXPECT_EQ(surface.Printed("Time, Seconds"), nullptr);
}

TEST_F(StripChartDraw, clockTextsAreWhiteAtTheBottomCorners) {
    DrawChart(0, s, surface, 3600, 240);
    const auto* left = surface.Printed("01:00:00.00");
    const auto* right = surface.Printed("01:04:00.00");
    const auto* title = surface.Printed("Time, Seconds");
    ASSERT_TRUE(left && right && title);
    for (const auto* c : {left, right, title}) {
        EXPECT_EQ(c->color, 15) << c->text.toStdString();
        EXPECT_DOUBLE_EQ(c->y1, 100 - 4.5) << c->text.toStdString();
    }
    EXPECT_DOUBLE_EQ(left->x1, 11);
    EXPECT_DOUBLE_EQ(right->x1, 160 - 9 - 14);
    EXPECT_DOUBLE_EQ(title->x1, (160 - 11 - 9) / 2.0);
    // The labels after the first clock text are in the axis colour again.
    EXPECT_EQ(surface.Printed("20")->color, 7);
}

TEST_F(StripChartDraw, gridStyleChoosesGridLinesOrTicks) {
    struct Case {
        int style;
        bool horizontalGrid, verticalGrid;
    } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}};
    for (const auto& c : cases) {
        surface.Forget();
        s.GridStyle = c.style;
        DrawChart(0, s, surface, 0, 240);
        // 11 value divisions, 13 time divisions.
        EXPECT_EQ(LinesAcross(11, 151), c.horizontalGrid ? 11 : 0) << c.style;
        EXPECT_EQ(LinesAcross(11, 11.7), c.horizontalGrid ? 0 : 11) << c.style;
        EXPECT_EQ(LinesDown(7, 91), c.verticalGrid ? 13 : 0) << c.style;
        EXPECT_EQ(LinesDown(91 - 0.7, 91), c.verticalGrid ? 0 : 13) << c.style;
        for (const auto& l : surface.Calls("Line")) {
            bool tick = std::abs(l.x2 - l.x1) < 1 && std::abs(l.y2 - l.y1) < 1;
            EXPECT_EQ(l.color, tick ? 7 : 8) << c.style;
        }
    }
}

TEST_F(StripChartDraw, labelsThinOutOnSmallSurfaces) {
    struct Case {
        int width, height, timeLabels, valueLabels;
    } cases[] = {{100, 50, 13, 11}, {99, 50, 7, 11}, {100, 49, 13, 6}, {60, 30, 7, 6}};
    for (const auto& c : cases) {
        surface.Forget();
        s.Width = c.width;
        s.Height = c.height;
        DrawChart(0, s, surface, 0, 240);
        EXPECT_EQ(TextsAtY(c.height - 9).size(), c.timeLabels) << c.width << "x" << c.height;
        int values = 0;
        for (const auto& p : surface.Calls("Print"))
            if (p.x1 == 0 && p.y1 > 0) ++values;
        EXPECT_EQ(values, c.valueLabels) << c.width << "x" << c.height;
    }
    EXPECT_NE(surface.Printed("40"), nullptr);
    EXPECT_EQ(surface.Printed("20"), nullptr);
}

TEST_F(StripChartDraw, valueAxisInPrefixedPowerUnits) {
    s.YMax = 0.5f;
    s.YMin = 0;
    DrawChart(0, s, surface, 0, 240);
    const auto* title = surface.Printed("Power, mW");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x1, 0);
    EXPECT_EQ(title->y1, 0);
    const auto* top = surface.Printed("500.0");
    ASSERT_NE(top, nullptr);
    EXPECT_DOUBLE_EQ(top->y1, 7 - 2);
    EXPECT_NE(surface.Printed("450.0"), nullptr);
    EXPECT_NE(surface.Printed("0"), nullptr);
}

TEST_F(StripChartDraw, decadeLabelModeScalesByTheExponentOfYMax) {
    struct Case {
        float yMax;
        const char* title;
        const char* top;
        const char* second;
    } cases[] = {
        {0.005f, "Ratio, E-03", "5.0", "4.5"},
        {250, "Ratio, E+02", "2.5", "2.3"},
        {5, "Ratio", "5.0", "4.5"},
    };
    s.YLabelMode = 0;
    s.YTitle = "Ratio";
    for (const auto& c : cases) {
        surface.Forget();
        s.YMax = c.yMax;
        DrawChart(0, s, surface, 0, 240);
        EXPECT_EQ(surface.Texts().value(0), c.top) << c.title;
        EXPECT_EQ(surface.Texts().value(1), c.second) << c.title;
        EXPECT_NE(surface.Printed(c.title), nullptr) << c.title;
    }
}

TEST_F(StripChartDraw, frameStyleOneDrawsABlackBoxAroundTheSurface) {
    s.FrameStyle = 1;
    DrawChart(0, s, surface, 0, 240);
    auto boxes = surface.Calls("Box");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].color, 0);
    EXPECT_EQ(boxes[1].color, 7);  // the plot frame
    EXPECT_DOUBLE_EQ(boxes[1].x1, 11);
    EXPECT_DOUBLE_EQ(boxes[1].y2, 91);
    EXPECT_EQ(surface.Calls("Clear").at(0).color, 1);
}

TEST_F(StripChartDraw, traceStartsWithADotAndJoinsLaterPoints) {
    s.YMax = 1;
    DrawChart(0, s, surface, 0, 140);  // one unit per second, 84 units per watt
    surface.Forget();
    AddPoint(0, 0.5, 0);
    AddPoint(10, OverrangeValue, 1);
    AddPoint(20, -3, 2);
    auto calls = surface.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].op, "Dot");
    EXPECT_DOUBLE_EQ(calls[0].x1, 11);
    EXPECT_DOUBLE_EQ(calls[0].y1, 49);
    EXPECT_EQ(calls[1].op, "Line");
    EXPECT_DOUBLE_EQ(calls[1].x1, 11);
    EXPECT_DOUBLE_EQ(calls[1].x2, 21);
    EXPECT_DOUBLE_EQ(calls[1].y2, 7 / 1.5);  // over range: above the frame
    EXPECT_DOUBLE_EQ(calls[2].y1, 7 / 1.5);
    EXPECT_DOUBLE_EQ(calls[2].y2, 93);  // far below: just under the frame
    EXPECT_EQ(calls[2].color, 14);
}

TEST_F(StripChartDraw, zeroSpanOrEmptyRangeKeepsThePreviousScaleForLaterPoints) {
    struct Case {
        const char* what;
        float span, yMax, yMin;
    } cases[] = {{"YMax equals YMin", 140, 0.25f, 0.25f}, {"span 0", 0, 1.25f, 0.25f}};
    for (const auto& c : cases) {
        s.YMax = 1;
        s.YMin = 0;
        DrawChart(0, s, surface, 0, 140);  // 1 unit per second, 84 per watt
        s.YMax = c.yMax;
        s.YMin = c.yMin;
        surface.Forget();
        DrawChart(0, s, surface, 0, c.span);
        EXPECT_EQ(surface.Calls("Box").size(), 1u) << c.what;  // the frame is still drawn
        surface.Forget();
        AddPoint(70, 0.5, 0);
        // Old scales, measured from the new YMin.
        EXPECT_DOUBLE_EQ(surface.Calls().at(0).y1, 91 - 0.25 * 84) << c.what;
        EXPECT_DOUBLE_EQ(surface.Calls().at(0).x1, 81) << c.what;
    }
}

TEST_F(StripChartDraw, fullRedrawStartsANewTraceEvenMidRun) {
    DrawChart(0, s, surface, 0, 140);
    AddPoint(0, 0.5, 0);
    AddPoint(1, 0.5, 1);
    DrawChart(0, s, surface, 0, 140);  // the window was resized
    surface.Forget();
    AddPoint(2, 0.5, 2);
    ASSERT_EQ(surface.Calls().size(), 1u);
    EXPECT_EQ(surface.Calls()[0].op, "Dot");  // no line from a stale position
}

TEST_F(StripChartDraw, zeroDivisionsDrawOneDivision) {
    s.XDivisions = 0;
    s.YDivisions = -2;
    DrawChart(0, s, surface, 0, 240);
    EXPECT_EQ(TextsAtY(91), QStringList({"0", "240"}));
    EXPECT_NE(surface.Printed("1.0"), nullptr);
}

TEST_F(StripChartDraw, eachChartKeepsItsOwnGeometry) {
    ChartSettings other;
    other.Width = 300;
    other.Height = 200;
    RecordingSurface otherSurface;
    DrawChart(0, s, surface, 0, 140);
    DrawChart(0, other, otherSurface, 100, 50);
    double l, t, r, b;
    GetPlotArea(s, l, t, r, b);
    EXPECT_EQ(std::vector<double>({l, t, r, b}), std::vector<double>({11, 7, 151, 91}));
    double t1, t2;
    TimesFromPlotX(s, 81, 11, t1, t2);
    EXPECT_DOUBLE_EQ(t1, 0);
    EXPECT_DOUBLE_EQ(t2, 70);
    TimesFromPlotX(other, 11, 291, t1, t2);
    EXPECT_DOUBLE_EQ(t1, 100);
    EXPECT_DOUBLE_EQ(t2, 150);
}

TEST_F(StripChartDraw, chartUnitsFollowThePictureSize) {
    FitChartToPixels(s, QSize(641, 398));
    EXPECT_EQ(s.Width, 160);
    EXPECT_EQ(s.Height, 100);
    FitChartToPixels(s, QSize(-5, 400000));
    EXPECT_EQ(s.Width, 0);
    EXPECT_EQ(s.Height, 32767);
}
