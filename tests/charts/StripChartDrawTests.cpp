#include "charts/ChartCursor.h"
#include "charts/StripChart.h"
#include "data/Overrange.h"
#include "platform/Palette.h"
#include "platform/Printer.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/RecordingSurface.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/SeparatorScope.h"
#include "support/TempDir.h"
#include "widgets/SurfaceWidget.h"

#include <gtest/gtest.h>
#include <QLineF>
#include <QRectF>

namespace {

// A 160 x 100 chart: plot from (11, 7) to (151, 91).
class StripChartDraw : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
        s.Width = 160;
        s.Height = 100;
    }

    QStringList TextsAtY(double y) const {
        return surface.Texts([y](const auto& c) { return std::abs(c.y1 - y) < 1e-9; });
    }
    QStringList ValueLabels() const {  // at the left edge, below the title
        return surface.Texts([](const auto& c) { return c.x1 == 0 && c.y1 > 0; });
    }
    // Lines from (x1, y1) to (x2, y2), where a NaN matches any coordinate.
    int LinesLike(double x1, double y1, double x2, double y2) const {
        auto same = [](double want, double got) { return std::isnan(want) || std::abs(want - got) < 1e-9; };
        int n = 0;
        for (const auto& c : surface.Calls("Line"))
            if (same(x1, c.x1) && same(y1, c.y1) && same(x2, c.x2) && same(y2, c.y2)) ++n;
        return n;
    }
    void AddPoint(double time, double reading, int index) {
        DrawChartPoint(s, surface, {time, reading, index});
    }

    void Draw(float start, float span, float yMin, float yMax) {
        s.YMin = yMin;
        s.YMax = yMax;
        DrawChart(0, s, surface, start, span);
    }

    SeparatorScope point{"."};
    ChartSettings s;
    RecordingSurface surface;
};

const double any = std::nan("");

ChartGeometry ScaledScreen(double width, double height, double start, double span, float yMax, float yMin) {
    ChartGeometry g;
    ScreenPlot(g, width, height);
    SetChartScales(g, start, span, yMax, yMin);
    return g;
}

// A finished 4-minute run of a laser warming up, with one over-range reading.
void DrawSampleChart(ChartSettings& s, platform::Surface& surface) {
    std::tie(s.YMax, s.YMin) = std::pair(0.5f, 0.0f);
    DrawChart(0, s, surface, 0, 240);
    for (int i = 0; i <= 480; ++i) {
        const double t = i * 0.5;
        const double v =
            i == 300 ? OverrangeValue : 0.38 * (1 - std::exp(-t / 40)) + 0.01 * std::sin(t * 1.7);
        DrawChartPoint(s, surface, {t, v, i});
    }
}

}  // namespace

TEST_F(StripChartDraw, timeAxisCountsSecondsUpTo240AndMinutesAbove) {
    for (auto [span, labels, title] :
         {std::tuple{241.0f, "0 0.3 0.7 1.0 1.3 1.7 2.0 2.3 2.7 3.0 3.3 3.7 4.0", "Time, Minutes"},
          {240.0f, "0 20 40 60 80 100 120 140 160 180 200 220 240", "Time, Seconds"}}) {
        surface.Forget();
        DrawChart(0, s, surface, 3600, span);
        EXPECT_EQ(TextsAtY(91).join(' '), labels) << span;
        EXPECT_NE(surface.Printed(title), nullptr) << span;
    }
    // The clock texts of both edges and the title in white below the axis.
    for (auto [text, x] :
         {std::pair{"01:00:00.00", 11.0}, {"01:04:00.00", 160 - 9 - 14.0}, {"Time, Seconds", 70.0}}) {
        const auto* c = surface.Printed(text);
        ASSERT_NE(c, nullptr) << text;
        EXPECT_EQ(std::tuple(c->color, c->x1, c->y1), std::tuple(15, x, 100 - 4.5)) << text;
    }
    const auto* label = surface.Printed("120");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->color, 7);                            // the axis colour again after the clock text
    EXPECT_DOUBLE_EQ(label->x1, 11 + 6 * 140 / 12.0 - 2);  // 2 units left of its division
    // A narrow chart: the title in the middle of the plot, no clock text over it.
    surface.Forget();
    s.Width = 60;
    DrawChart(0, s, surface, 3600, 240);
    const auto* title = surface.Printed("Time, Seconds");
    ASSERT_NE(title, nullptr);
    EXPECT_DOUBLE_EQ(title->x1 + surface.TextWidth("Time, Seconds") / 2, (11 + 51) / 2.0);
    EXPECT_EQ(surface.Printed("01:00:00.00"), nullptr);
}

TEST_F(StripChartDraw, gridStyleChoosesGridLinesOrTicks) {
    for (int style = 0; style <= 3; ++style) {
        surface.Forget();
        s.GridStyle = style;
        DrawChart(0, s, surface, 0, 240);
        const bool horizontal = style == 1 || style == 3,
                   vertical = style >= 2;  // 11 value, 13 time divisions
        EXPECT_EQ(LinesLike(11, any, 151, any), horizontal ? 11 : 0) << style;
        EXPECT_EQ(LinesLike(11, any, 11.7, any), horizontal ? 0 : 11) << style;
        EXPECT_EQ(LinesLike(any, 7, any, 91), vertical ? 13 : 0) << style;
        EXPECT_EQ(LinesLike(any, 91 - 0.7, any, 91), vertical ? 0 : 13) << style;
        for (const auto& l : surface.Calls("Line"))  // ticks in the axis colour, grid lines in grey
            EXPECT_EQ(l.color, std::abs(l.x2 - l.x1) < 1 && std::abs(l.y2 - l.y1) < 1 ? 7 : 8) << style;
    }
}

TEST_F(StripChartDraw, labelsThinOutOnSmallSurfacesAndZeroDivisionsDrawOne) {
    for (auto [width, height, timeLabels, valueLabels] :
         {std::array{100, 50, 13, 11}, {99, 50, 7, 11}, {100, 49, 13, 6}, {60, 30, 7, 6}}) {
        surface.Forget();
        s.Width = width;
        s.Height = height;
        DrawChart(0, s, surface, 0, 240);
        EXPECT_EQ(TextsAtY(height - 9).size(), timeLabels) << width << "x" << height;
        EXPECT_EQ(ValueLabels().size(), valueLabels) << width << "x" << height;
    }
    EXPECT_NE(surface.Printed("40"), nullptr);
    EXPECT_EQ(surface.Printed("20"), nullptr);
    surface.Forget();
    s.Width = 160;
    s.Height = 100;
    s.XDivisions = 0;
    s.YDivisions = -2;
    DrawChart(0, s, surface, 0, 240);
    EXPECT_EQ(TextsAtY(91), QStringList({"0", "240"}));
    EXPECT_EQ(ValueLabels(), QStringList({"1.0", "0"}));
}

TEST_F(StripChartDraw, valueLabelsTakeTheirDecimalsFromTheRange) {
    const std::tuple<int, float, float, const char*, const char*> cases[] = {
        {1, 0.5f, 0, "Power, mW", "500.0 450.0 400.0 350.0 300.0 250.0 200.0 150.0 100.0 50.0 0"},
        // A narrow run after Rescale: every label differs from its neighbours.
        {1, 12.75e-3f, 12.25e-3f, "Power, mW",
         "12.75 12.70 12.65 12.60 12.55 12.50 12.45 12.40 12.35 12.30 12.25"},
        {0, 1.05f, 1.0f, "Ratio", "1.050 1.045 1.040 1.035 1.030 1.025 1.020 1.015 1.010 1.005 1.000"},
        {0, 0.005f, 0, "Ratio, E-03", "5.0 4.5 4.0 3.5 3.0 2.5 2.0 1.5 1.0 0.5 0"},
        {0, 250, 0, "Ratio, E+02", "2.5 2.3 2.0 1.8 1.5 1.3 1.0 0.8 0.5 0.3 0"},
    };
    s.YTitle = "Ratio";
    for (auto [mode, yMax, yMin, titleText, labels] : cases) {
        surface.Forget();
        s.YLabelMode = mode;
        s.YMax = yMax;
        s.YMin = yMin;
        DrawChart(0, s, surface, 0, 240);
        EXPECT_EQ(ValueLabels().join(' '), labels) << titleText;
        const auto* title = surface.Printed(titleText);
        ASSERT_NE(title, nullptr) << titleText;
        EXPECT_EQ(QPointF(title->x1, title->y1), QPointF(0, 0));
    }
    EXPECT_DOUBLE_EQ(surface.Calls("Print").at(0).y1, 7 - 2);  // 2 units above its division
}

TEST_F(StripChartDraw, traceStartsWithADotAndJoinsLaterPointsUntilAFullRedraw) {
    DrawChart(0, s, surface, 0, 140);  // one unit per second, 84 units per watt
    surface.Forget();
    AddPoint(0, 0.5, 0);
    AddPoint(10, OverrangeValue, 1);
    AddPoint(20, -3, 2);
    DrawChart(0, s, surface, 0, 140);  // the window was resized mid-run
    AddPoint(30, 0.5, 3);
    auto calls = surface.Calls();
    ASSERT_GT(calls.size(), 4u);
    // After the redraw a dot again: no line from a stale position.
    EXPECT_EQ(QStringList({calls[0].op, calls[1].op, calls.back().op}), QStringList({"Dot", "Line", "Dot"}));
    EXPECT_EQ(QLineF(calls[1].x1, calls[1].y1, calls[1].x2, calls[1].y2), QLineF(11, 49, 21, 7));
    EXPECT_EQ(calls[2].color, 14);
}

TEST_F(StripChartDraw, zeroSpanOrEmptyRangeKeepsThePreviousScaleForLaterPoints) {
    for (auto [what, span, yMax, yMin] :
         {std::tuple{"YMax equals YMin", 140.0f, 0.25f, 0.25f}, {"span 0", 0.0f, 1.25f, 0.25f}}) {
        std::tie(s.YMax, s.YMin) = std::pair(1.0f, 0.0f);
        DrawChart(0, s, surface, 0, 140);  // 1 unit per second, 84 per watt
        std::tie(s.YMax, s.YMin) = std::pair(yMax, yMin);
        surface.Forget();
        DrawChart(0, s, surface, 0, span);
        ASSERT_EQ(surface.Calls("Box").size(), 1u) << what;
        const auto frame = surface.Calls("Box")[0];
        EXPECT_EQ(QRectF(QPointF(frame.x1, frame.y1), QPointF(frame.x2, frame.y2)), QRectF(11, 7, 140, 84));
        surface.Forget();
        AddPoint(70, 0.5, 0);
        ASSERT_EQ(surface.Calls().size(), 1u) << what;
        // Old scales, measured from the new YMin.
        EXPECT_EQ(QPointF(surface.Calls()[0].x1, surface.Calls()[0].y1), QPointF(81, 91 - 0.25 * 84)) << what;
    }
}

TEST_F(StripChartDraw, eachChartKeepsItsOwnGeometryForMouseTimes) {
    ChartSettings other;
    other.Width = 300;
    RecordingSurface otherSurface;
    DrawChart(0, s, surface, 0, 140);
    DrawChart(0, other, otherSurface, 100, 50);
    double t1, t2;
    TimesFromPlotX(s, 81, 11, t1, t2);
    EXPECT_EQ(std::vector<double>({t1, t2}), std::vector<double>({0, 70}));
    TimesFromPlotX(other, 11, 291, t1, t2);
    EXPECT_EQ(std::vector<double>({t1, t2}), std::vector<double>({100, 150}));
    ChartGeometry flat;  // nothing drawn yet: zero-width plot
    TimesFromPlotX(flat, 3, 8, t1, t2);
    EXPECT_EQ(std::pair(t1, t2), std::pair(0.0, 0.0));
}

TEST(ChartGeometry, pointsBeyondTheRangeStayOnThePlotFrameEvenOnANarrowSurface) {
    // 140 units for 140 s and 84 units for 0..1: one unit per second, 84 per watt.
    const ChartGeometry g = ScaledScreen(160, 100, 0, 140, 1, 0);
    const std::tuple<const char*, double, double, double, double> cases[] = {
        {"inside", 70, 0.5, 81, 49},
        {"over range on the top edge", 10, OverrangeValue, 21, 7},
        {"far above the range on the top edge", 10, 50, 21, 7},
        {"far below the range on the bottom edge", 10, -50, 21, 91},
        {"before the start stops at the left edge", -5, 0, 11, 91},
        {"after the span stops at the right edge", 500, 1, 151, 7},
        {"not a number goes to the bottom", 10, std::nan(""), 21, 91},
    };
    for (auto [what, time, reading, x, y] : cases)
        EXPECT_EQ(PointPosition(g, time, reading, 0), QPointF(x, y)) << what;
    // On paper too: never among the labels below the frame or the titles above it.
    ChartGeometry paper;
    PaperPlot(paper, 200, 280);
    SetChartScales(paper, 0, 10, 1, 0);
    EXPECT_EQ(PointPosition(paper, 5, -50, 0).y(), 230);
    // A narrow surface never inverts the limits: plot right 6 lies left of plot left 11.
    const QPointF p = PointPosition(ScaledScreen(15, 12, 0, 10, 1, 0), 5, 0.5, 0);
    EXPECT_TRUE(p.x() == 11 && std::isfinite(p.y()));
}

TEST(ChartGeometry, timeUnitAndLabelPatternFollowTheSpanAndValuePatternTheRange) {
    // clang-format off
    const std::tuple<double, const char*, const char*, double> cases[] = {
        {1, "Seconds", "###0.00", 1},          {15, "Seconds", "###0.0", 15},  {240, "Seconds", "###0", 240},
        {241, "Minutes", "###0.0", 241 / 60.0}, {3600, "Minutes", "###0", 60}, {14400, "Minutes", "###0", 240},
        {14401, "Hours", "###0.0", 14401 / 3600.0}, {86400, "Hours", "###0", 24},
        {86401, "Days", "###0.00", 86401 / 86400.0}, {7 * 86400, "Days", "###0.0", 7}};
    // clang-format on
    for (auto [span, unit, pattern, value] : cases) {
        const TimeUnit u = TimeUnitFor(span);
        EXPECT_EQ(u.Name, unit) << span;
        EXPECT_DOUBLE_EQ(u.Value, value) << span;
        EXPECT_EQ(TimeLabelPattern(u.Value, 12), pattern) << span;
    }
    EXPECT_EQ(TimeLabelPattern(15, 5), "###0");  // 15 is a whole multiple of 5 divisions
    // The value range is rounded to three decimals first.
    for (auto [range, pattern] : {std::pair{0.0994, "###0.000"}, {0.0996, "###0.00"}, {0.9999, "###0.0"}})
        EXPECT_EQ(PrintedValuePattern(range), pattern) << range;
    // Labels a step apart get the decimals they need to differ.
    for (auto [pattern, step, wider] : {std::tuple{"###0.0", 0.04, "###0.00"},
                                        {"###0.0", 0.1, "###0.0"},
                                        {"###0", 0.5, "###0.0"},
                                        {"###0.000", 0.0001, "###0.0000"}})
        EXPECT_EQ(DistinctPattern(pattern, step), wider) << step;
}

TEST_F(StripChartDraw, chartPrintsToAPdfWithThePlotInsideThePageMargins) {
    TempDir dir;
    ScriptedPrompts prompts;
    s.YMax = 0.5f;
    platform::printer().ForcePdf(dir.Path("chart.pdf"));
    DrawChart(0, s, surface, 0, 240);  // the window's chart first
    const ChartGeometry screen = s.Screen;
    // The print sequence of the power window: frame, points, end of page.
    ASSERT_TRUE(PrintChart(0, s, platform::printer(), 0, 240));
    for (int i = 0; i <= 100; ++i) {
        PrintChartPoint(s, platform::printer(), {i * 2.4, 0.25 + 0.2 * std::sin(i / 8.0), i});
    }
    ASSERT_TRUE(PrintChart(2, s, platform::printer(), 0, 240));
    const platform::Surface& page = platform::printer().Page();
    const double pageWidth = page.ScaleWidth(), pageHeight = page.ScaleHeight();
    EXPECT_EQ(std::vector<double>(
                  {s.Paper.PlotLeft, s.Paper.PlotTop, s.Paper.OverY, s.Paper.PlotRight, s.Paper.PlotBottom}),
              std::vector<double>({25, 60, 60, pageWidth - 50, pageHeight - 50}));
    // Printing leaves the screen chart's geometry alone, so the live trace
    // goes on at the right place after a print.
    EXPECT_EQ(std::pair(s.Screen.PlotRight, s.Screen.YPerUnit), std::pair(screen.PlotRight, screen.YPerUnit));
    EXPECT_GT(dir.Read("chart.pdf").size(), 1000);
    platform::printer().ForcePdf(QString());
}

TEST_F(StripChartDraw, sampleChartRendersSharpAtTwiceThePixels) {
    widgets::SurfaceWidget widget;
    widget.Resized = [&] {
        FitChartToPixels(s, widget.size());
        DrawSampleChart(s, widget.Surface());
    };
    widget.resize(640, 400);
    widget.show();
    ASSERT_EQ(s.Width, 160);
    EXPECT_FALSE(SaveScreenshot(&widget, "strip_chart").isEmpty());

    platform::ImageSurface hidpi(QSize(640, 400), 2.0);
    DrawSampleChart(s, hidpi);
    const QImage image = hidpi.Snapshot();
    ASSERT_EQ(image.size(), QSize(1280, 800));
    // The plot frame's left edge is one logical pixel, two device pixels, wide and sharp.
    const int y = 60 * 4 * 2;
    int frameX = -1;
    for (int x = 30 * 2; x < 60 * 2 && frameX < 0; ++x)
        if (image.pixelColor(x, y) == platform::PaletteColor(7)) frameX = x;
    ASSERT_GT(frameX, 0);
    EXPECT_EQ((std::array{image.pixelColor(frameX - 1, y), image.pixelColor(frameX + 1, y),
                          image.pixelColor(frameX + 2, y)}),
              (std::array{platform::PaletteColor(1), platform::PaletteColor(7), platform::PaletteColor(1)}));
}

TEST_F(StripChartDraw, positionsOnThePlotReadBackAsTimeAndValue) {
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

TEST_F(StripChartDraw, decadeAxesReadInTheirTitle) {
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
