#include "charts/ChartCursor.h"
#include "charts/Histogram.h"
#include "charts/ScatterChart.h"
#include "charts/StripChart.h"
#include "data/Overrange.h"
#include "platform/Printer.h"
#include "support/ProgramState.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPrompts.h"
#include "support/SeparatorScope.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QLineF>
#include <QRectF>

namespace {

// A fresh state, a point as the decimal separator, and a surface that
// records what is drawn.
class ChartTest : public ::testing::Test {
protected:
    void SetUp() override { FreshProgramState(); }
    QStringList LeftLabels() const {  // at the left edge, below the title
        return surface.Texts([](const auto& c) { return c.x1 == 0 && c.y1 > 0; });
    }
    SeparatorScope point{"."};
    RecordingSurface surface;
};

class HistogramTest : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        h.Width = 160;
        h.Height = 100;
        Limits(0, 0.01f);
    }
    void Limits(float low, float high) {
        h.LowLimit = low;
        h.HighLimit = high;
        ResizeBins(h, 10);
    }
    QStringList EnergyLabels() const {  // below the base line, above the title
        return surface.Texts([this](const auto& c) { return c.y1 > h.Screen.Bottom && c.y1 < h.Height - 6; });
    }
    HistogramSpec h;
    int32_t yMax = 100;
};

class ScatterChartTest : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        spec.Width = 120;
        spec.Height = 80;
        spec.EnergyHigh = 0.01f;
    }
    DualChartSpec spec;
};

// A 160 x 100 chart: plot from (11, 7) to (151, 91).
class StripChartDraw : public ChartTest {
protected:
    void SetUp() override {
        ChartTest::SetUp();
        s.Width = 160;
        s.Height = 100;
    }
    QStringList TextsAtY(double y) const {
        return surface.Texts([y](const auto& c) { return std::abs(c.y1 - y) < 1e-9; });
    }
    // Lines from (x1, y1) to (x2, y2), where a NaN matches any coordinate.
    int LinesLike(double x1, double y1, double x2, double y2) const {
        auto same = [](double want, double got) { return std::isnan(want) || std::abs(want - got) < 1e-9; };
        int n = 0;
        for (const auto& c : surface.Calls("Line"))
            n += same(x1, c.x1) && same(y1, c.y1) && same(x2, c.x2) && same(y2, c.y2);
        return n;
    }
    void Draw(float start, float span, float yMin, float yMax) {
        std::tie(s.YMin, s.YMax) = std::pair(yMin, yMax);
        surface.Forget();
        DrawChart(0, s, surface, start, span);
    }
    ChartSettings s;
};

const double any = std::nan("");

ChartGeometry ScaledScreen(double width, double height, double start, double span, float yMax, float yMin) {
    ChartGeometry g;
    ScreenPlot(g, width, height);
    SetChartScales(g, start, span, yMax, yMin);
    return g;
}

}  // namespace

TEST_F(HistogramTest, valueOnAnEdgeGoesToTheNextBinAndOutOfRangeToTheEndSlots) {
    const std::pair<double, int> cases[] = {{-1e-4, 0},   {0, 1},     {0.001, 2}, {0.0025, 3},
                                            {0.0099, 10}, {0.01, 11}, {0.5, 11},  {-1e300, 0}};
    for (auto [value, bin] : cases) EXPECT_EQ(BinOf(h, value), bin) << value;
    EXPECT_EQ(std::pair(AddToHistogram(h, 0.01), h.Bins[11].Count), std::pair(11, 1));
    // Edges meet pulses in single precision: a stored 0.7 J (a hair below 0.7 as a single)
    // lies on the edge of 0 .. 7 J in ten bins, and so opens the second bin.
    Limits(0, 7);
    for (double pulse : {0.7, double(0.7f), double(2.1f), 2.1})
        EXPECT_EQ(BinOf(h, pulse), pulse < 1 ? 2 : 4) << pulse;
}

TEST_F(HistogramTest, fullDrawingLabelsPulsesAndEnergiesWithTheirOwnPrefix) {
    // 10 mJ as a single is a hair below 10 mJ: the span is below ten and takes a decimal.
    // clang-format off
    const std::tuple<float, float, bool, const char*, const char*> cases[] = {
        {0, 0.01f, false, "0J 1.0mJ 2.0mJ 3.0mJ 4.0mJ 5.0mJ 6.0mJ 7.0mJ 8.0mJ 9.0mJ 10.0mJ", "Energy, Joules"},
        {0.2f, 0.8f, false, "200mJ 260mJ 320mJ 380mJ 440mJ 500mJ 560mJ 620mJ 680mJ 740mJ 800mJ", "Energy, Joules"},
        {0, 10, false, "0J 1J 2J 3J 4J 5J 6J 7J 8J 9J 10J", "Energy, Joules"},  // a span of ten: no decimals
        // A narrow range gets the decimals that keep neighbouring labels apart.
        {0.005f, 0.0054f, false, "5.00mJ 5.04mJ 5.08mJ 5.12mJ 5.16mJ 5.20mJ 5.24mJ 5.28mJ 5.32mJ 5.36mJ 5.40mJ",
         "Energy, Joules"},
        {0, 0.01f, true, "0 1.0m 2.0m 3.0m 4.0m 5.0m 6.0m 7.0m 8.0m 9.0m 10.0m", "Energy"}};
    // clang-format on
    for (auto [low, high, relative, labels, title] : cases) {
        surface.Forget();
        Limits(low, high);
        DrawHistogram(0, {}, surface, h, yMax, relative);
        EXPECT_EQ(EnergyLabels().join(' '), labels);
        EXPECT_NE(surface.Printed(title), nullptr) << title;
        EXPECT_EQ(LeftLabels().join(' '), "100 90 80 70 60 50 40 30 20 10 0");
    }
    EXPECT_DOUBLE_EQ(h.Screen.SlotWidth, (160 - 9 - 12) / 12.0);
    // The last energy tick at the over-range slot's left edge.
    EXPECT_DOUBLE_EQ(surface.Calls("Line").back().x1, 160 - 9 - h.Screen.SlotWidth);
    EXPECT_DOUBLE_EQ(h.Bins[10].UpperEdge, double(h.HighLimit));
}

TEST_F(HistogramTest, barsSitInTheirSlotsAndAFullBinDoublesTheScaleThroughTheOwner) {
    DrawHistogram(0, {}, surface, h, yMax, false);
    const HistogramFrame f = h.Screen;
    for (int b : {0, 5, 11}) {  // bin 5 at the scale's top: a full bar, no doubling yet
        surface.Forget();
        const int32_t count = b == 5 ? 100 : 50;
        h.Bins[size_t(b)].Count = count;
        EXPECT_FALSE(DrawHistogramBar(b, {}, surface, h, yMax));
        const auto fills = surface.Calls("FillBox");
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_DOUBLE_EQ(fills[0].x1, b * f.SlotWidth + f.Left + (b == 0 ? 0.25 : 0));
        EXPECT_DOUBLE_EQ(fills[0].x2, (b + 1) * f.SlotWidth + f.Left - (b == 11 ? 0.25 : 0));
        EXPECT_DOUBLE_EQ(fills[0].y1, f.Bottom - count * f.PulseHeight);
        EXPECT_EQ(fills[0].color, b == 5 ? 14 : 12);
    }
    int relayouts = 0;
    h.Bins[5].Count = 101;
    surface.Forget();
    EXPECT_TRUE(DrawHistogramBar(
        5, [&] { ++relayouts; }, surface, h, yMax));
    EXPECT_EQ(std::pair(yMax, relayouts), std::pair(200, 1));
    // Too low for a label on every line: every other one; too narrow for energy
    // labels on every other tick: on every fifth.
    for (auto [height, width, pulses, energies] :
         {std::tuple{100, 160, "200 180 160 140 120 100 80 60 40 20 0", ""},
          {40, 160, "200 160 120 80 40 0", ""},
          {40, 60, "", "0J 5.0mJ 10.0mJ"}}) {
        std::tie(h.Height, h.Width) = std::pair(height, width);
        surface.Forget();
        DrawHistogram(0, {}, surface, h, yMax, false);
        EXPECT_EQ((*pulses ? LeftLabels() : EnergyLabels()).join(' '), *pulses ? pulses : energies);
    }
}

TEST_F(ScatterChartTest, ratioLabelsTakeTheDecadeOfTheHighLimitAndEnergyLabelsItsPrefix) {
    // clang-format off
    const std::tuple<float, float, float, float, const char*, const char*, const char*, const char*> cases[] = {
        {0.005f, 0, 0, 0.01f, "Ratio, E-03", "5.0 4.5 4.0 3.5 3.0 2.5 2.0 1.5 1.0 0.5 0",
         "channel A: Energy, mJ", "0.0 1.0 2.0 3.0 4.0 5.0 6.0 7.0 8.0 9.0 10.0"},
        {200, 100, 0.2f, 0.8f, "Ratio, E+02", "2.0 1.9 1.8 1.7 1.6 1.5 1.4 1.3 1.2 1.1 1.0",
         "channel A: Energy, mJ", "200 260 320 380 440 500 560 620 680 740 800"},
        {0.5f, 0.45f, 0.001f, 0.005f, "Ratio, E-01", "5.00 4.95 4.90 4.85 4.80 4.75 4.70 4.65 4.60 4.55 4.50",
         "channel A: Energy, mJ", "1.0 1.4 1.8 2.2 2.6 3.0 3.4 3.8 4.2 4.6 5.0"},
        {1.05f, 1, 0, 20, "Ratio", "1.050 1.045 1.040 1.035 1.030 1.025 1.020 1.015 1.010 1.005 1.000",
         "channel A: Energy, J", "0 2 4 6 8 10 12 14 16 18 20"}};
    // clang-format on
    for (auto [rHigh, rLow, eLow, eHigh, yTitle, yLabels, xTitle, xLabels] : cases) {
        std::tie(spec.RatioHigh, spec.RatioLow, spec.EnergyLow, spec.EnergyHigh) =
            std::tuple(rHigh, rLow, eLow, eHigh);
        const ScatterLabels t = ScatterLabelTexts(spec);
        EXPECT_EQ(QStringList({t.YTitle, t.YLabels.join(' '), t.XTitle, t.XLabels.join(' ')}),
                  QStringList({yTitle, yLabels, xTitle, xLabels}));
    }
}

TEST_F(ScatterChartTest, narrowOrLowSurfacesLabelEveryOtherTickAndGridFollowsItsStyle) {
    // width, height, grid style: energy labels (and title), ratio labels, horizontal and vertical grid lines
    const std::tuple<int, int, int, int, int, int, int> cases[] = {
        {120, 80, 3, 11, 11, 11, 11}, {99, 80, 1, 6, 11, 11, 0}, {120, 49, 2, 11, 6, 0, 11}};
    for (auto [w, h, grid, xCount, yCount, hLines, vLines] : cases) {
        surface.Forget();
        std::tie(spec.Width, spec.Height, spec.GridStyle) = std::tuple(int16_t(w), int16_t(h), int16_t(grid));
        DrawScatterFrame(spec, surface);
        const auto below = surface.Texts([this](const auto& c) { return c.y1 > spec.Screen.Bottom; });
        int horizontal = 0, vertical = 0;
        for (const auto& c : surface.Calls("Line"))
            if (c.color == 11) (c.y1 == c.y2 ? horizontal : vertical)++;
        EXPECT_EQ(std::tuple(below.size(), LeftLabels().size(), horizontal, vertical),
                  std::tuple(size_t(xCount + 1), size_t(yCount), hLines, vLines))
            << w << " x " << h << ", grid " << grid;
    }
    EXPECT_TRUE(surface.Printed("Ratio") && surface.Printed("channel A: Energy, mJ")) << "both titles";
}

TEST_F(ScatterChartTest, pointsAreClampedIntoTheFrameAndOverrangeSitsOnTop) {
    DrawScatterFrame(spec, surface);  // frame (11, 7) .. (111, 71), 0..10 mJ, ratio 0..1
    const std::tuple<double, double, double, double> cases[] = {
        {0.005, 0.5, 61, 39}, {0.02, 2, 111, 7}, {-1, -1, 11, 71}, {0.0025, OverrangeValue, 36, 7}};
    for (auto [energy, ratio, x, y] : cases) {
        surface.Forget();
        DrawScatterPoint(spec.Screen, surface, energy, ratio);
        const auto boxes = surface.Calls("FillBox");
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NEAR(boxes[0].x1, x, 1e-3) << energy;
        EXPECT_NEAR(boxes[0].y1, y, 1e-3) << ratio;
        EXPECT_EQ(std::pair(boxes[0].x2 - boxes[0].x1, boxes[0].color), std::pair(0.5, 14));
    }
    // Equal limits leave no scale to divide by: points stay at the low corner.
    spec.EnergyLow = spec.EnergyHigh = 0.005f;
    spec.RatioLow = spec.RatioHigh = 1;
    DrawScatterFrame(spec, surface);
    surface.Forget();
    DrawScatterPoint(spec.Screen, surface, 0.007, 3);
    const auto box = surface.Calls("FillBox");
    ASSERT_EQ(box.size(), 1u);
    EXPECT_EQ(std::pair(box[0].x1, box[0].y1), std::pair(11.0, 71.0));
}

TEST_F(ScatterChartTest, replayDrawsEveryKthOfTheStoreAtMostAboutThreeThousand) {
    const std::tuple<int32_t, int32_t, int32_t> cases[] = {
        {9000, 3, 3000}, {2999, 1, 2999}, {60000, 20, 3000}, {6001, 2, 3001}, {0, 1, 0}};
    DrawScatterFrame(spec, surface);
    for (auto [count, step, drawn] : cases) {
        std::vector<int32_t> asked;
        const int32_t n = ReplayScatter(spec.Screen, surface, count, [&](int32_t i, double& e, double& r) {
            asked.push_back(i);
            e = r = 0;
            return true;
        });
        EXPECT_EQ(std::pair(ReplayStep(count), n), std::pair(step, drawn)) << count;
        if (asked.size() > 1) {
            EXPECT_EQ(asked[1], step);
        }
    }
}

TEST_F(StripChartDraw, timeAxisCountsSecondsUpTo240AndMinutesAbove) {
    for (auto [span, labels, title] :
         {std::tuple{241.0f, "0 0.3 0.7 1.0 1.3 1.7 2.0 2.3 2.7 3.0 3.3 3.7 4.0", "Time, Minutes"},
          {240.0f, "0 20 40 60 80 100 120 140 160 180 200 220 240", "Time, Seconds"}}) {
        Draw(3600, span, 0, 1);
        EXPECT_EQ(TextsAtY(91).join(' '), labels) << span;
        EXPECT_NE(surface.Printed(title), nullptr) << span;
    }
    // The clock texts of both edges and the title in white below the axis; a label
    // in the axis colour again after the clock text, 2 units left of its division.
    for (auto [text, x, y, color] : {std::tuple{"01:00:00.00", 11.0, 100 - 4.5, 15},
                                     {"01:04:00.00", 160 - 9 - 14.0, 100 - 4.5, 15},
                                     {"Time, Seconds", 70.0, 100 - 4.5, 15},
                                     {"120", 11 + 6 * 140 / 12.0 - 2, 91.0, 7}}) {
        const auto* c = surface.Printed(text);
        ASSERT_NE(c, nullptr) << text;
        EXPECT_EQ(std::tuple(c->color, c->x1, c->y1), std::tuple(color, x, y)) << text;
    }
    // A narrow chart: the title in the middle of the plot, no clock text over it.
    s.Width = 60;
    Draw(3600, 240, 0, 1);
    const auto* title = surface.Printed("Time, Seconds");
    ASSERT_NE(title, nullptr);
    EXPECT_DOUBLE_EQ(title->x1 + surface.TextWidth("Time, Seconds") / 2, (11 + 51) / 2.0);
    EXPECT_EQ(surface.Printed("01:00:00.00"), nullptr);
}

TEST_F(StripChartDraw, gridStyleChoosesGridLinesOrTicks) {
    for (int style = 0; style <= 3; ++style) {
        s.GridStyle = style;
        Draw(0, 240, 0, 1);
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
        std::tie(s.Width, s.Height) = std::pair(width, height);
        Draw(0, 240, 0, 1);
        EXPECT_EQ(TextsAtY(height - 9).size(), timeLabels) << width << "x" << height;
        EXPECT_EQ(LeftLabels().size(), valueLabels) << width << "x" << height;
    }
    EXPECT_EQ(TextsAtY(21).mid(0, 3).join(' ').toStdString(), "0 40 80") << "every other time label";
    std::tie(s.Width, s.Height, s.XDivisions, s.YDivisions) = std::tuple(160, 100, 0, -2);
    Draw(0, 240, 0, 1);
    EXPECT_EQ((TextsAtY(91).join(' ') + " | " + LeftLabels().join(' ')).toStdString(), "0 240 | 1.0 0");
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
        s.YLabelMode = mode;
        Draw(0, 240, yMin, yMax);
        EXPECT_EQ(LeftLabels().join(' '), labels) << titleText;
        const auto* title = surface.Printed(titleText);
        ASSERT_NE(title, nullptr) << titleText;
        EXPECT_EQ(QPointF(title->x1, title->y1), QPointF(0, 0));
    }
    EXPECT_DOUBLE_EQ(surface.Calls("Print").at(0).y1, 7 - 2);  // 2 units above its division
}

TEST_F(StripChartDraw, traceStartsWithADotAndJoinsLaterPointsUntilAFullRedraw) {
    Draw(0, 140, 0, 1);  // one unit per second, 84 units per watt
    surface.Forget();
    for (auto [t, v, i] : {std::tuple{0.0, 0.5, 0}, {10.0, OverrangeValue, 1}, {20.0, -3.0, 2}})
        DrawChartPoint(s, surface, {t, v, i});
    DrawChart(0, s, surface, 0, 140);  // the window was resized mid-run
    DrawChartPoint(s, surface, {30, 0.5, 3});
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
        Draw(0, 140, 0, 1);  // 1 unit per second, 84 per watt
        Draw(0, span, yMin, yMax);
        ASSERT_EQ(surface.Calls("Box").size(), 1u) << what;
        const auto frame = surface.Calls("Box")[0];
        EXPECT_EQ(QRectF(QPointF(frame.x1, frame.y1), QPointF(frame.x2, frame.y2)), QRectF(11, 7, 140, 84));
        surface.Forget();
        DrawChartPoint(s, surface, {70, 0.5, 0});
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
    double t[6];
    TimesFromPlotX(s, 81, 11, t[0], t[1]);
    TimesFromPlotX(other, 11, 291, t[2], t[3]);
    TimesFromPlotX(ChartGeometry{}, 3, 8, t[4], t[5]);  // nothing drawn yet: zero-width plot
    EXPECT_EQ(std::vector(t, t + 6), std::vector<double>({0, 70, 100, 150, 0, 0}));
}

TEST(ChartGeometry, pointsBeyondTheRangeStayOnThePlotFrameEvenOnANarrowSurface) {
    // 140 units for 140 s and 84 units for 0..1: one unit per second, 84 per watt.
    const ChartGeometry g = ScaledScreen(160, 100, 0, 140, 1, 0);
    const std::tuple<const char*, double, double, double, double> cases[] = {
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
        EXPECT_EQ(std::tuple(QString(u.Name), u.Value, TimeLabelPattern(u.Value, 12)),
                  std::tuple(QString(unit), value, QString(pattern)))
            << span;
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
    platform::printer().ForcePdf(dir.Path("chart.pdf"));
    Draw(0, 240, 0, 0.5f);  // the window's chart first
    const ChartGeometry screen = s.Screen;
    // The print sequence of the power window: frame, points, end of page.
    ASSERT_TRUE(PrintChart(0, s, platform::printer(), 0, 240));
    for (int i = 0; i <= 100; ++i)
        PrintChartPoint(s, platform::printer(), {i * 2.4, 0.25 + 0.2 * std::sin(i / 8.0), i});
    ASSERT_TRUE(PrintChart(2, s, platform::printer(), 0, 240));
    const platform::Surface& page = platform::printer().Page();
    EXPECT_EQ(std::vector<double>(
                  {s.Paper.PlotLeft, s.Paper.PlotTop, s.Paper.OverY, s.Paper.PlotRight, s.Paper.PlotBottom}),
              std::vector<double>({25, 60, 60, page.ScaleWidth() - 50, page.ScaleHeight() - 50}));
    // Printing leaves the screen chart's geometry alone, so the live trace
    // goes on at the right place after a print.
    EXPECT_EQ(std::pair(s.Screen.PlotRight, s.Screen.YPerUnit), std::pair(screen.PlotRight, screen.YPerUnit));
    EXPECT_GT(dir.Read("chart.pdf").size(), 1000);
    platform::printer().ForcePdf(QString());
}

// Four pixels to a chart unit, whatever size the widget is given.
TEST_F(StripChartDraw, chartFitsItsWidgetAtFourPixelsAUnit) {
    FitChartToPixels(s, QSize(640, 400));
    EXPECT_EQ(std::pair(s.Width, s.Height), std::pair(int16_t(160), int16_t(100)));
}

TEST_F(StripChartDraw, positionsOnThePlotReadBackAsTimeAndValue) {
    // chart start, span, range, mouse at: time and value there, text (a ratio reads the decade in its title)
    using At = std::optional<std::pair<double, double>>;
    const std::tuple<float, float, float, float, double, double, At, QString> cases[] = {
        {0, 240, 0, 1, 11, 91, {{0, 0}}, "Time: 0.00 s   Power: 0W"},
        {0, 240, 0, 1, 151, 7, {{240, 1}}, "Time: 240.00 s   Power: 1.000W"},
        {0, 240, 0, 1, 81, 49, {{120, 0.5}}, "Time: 120.00 s   Power: 500.0mW"},
        {0, 600, 0.01f, 0.02f, 81, 70, {{300, 0.0125}}, "Time: 5.00 min   Power: 12.50mW"},
        // A viewer zoomed to 600..840 s: the left edge is its start.
        {600, 240, 0, 1, 46, 91, {{660, 0}}, "Time: 660.00 s   Power: 0W"},
        {0, 240, 0, 1, 10.9, 49, std::nullopt, ""},   // left of the plot
        {0, 240, 0, 1, 81, 91.1, std::nullopt, ""},   // below it
        {0, 240, 0, 1, 151.1, 49, std::nullopt, ""},  // right of it
        {0, 240, 0, 1, 81, 6.9, std::nullopt, ""},    // above it
        {0, 240, 0, 0.002f, 81, 49, {{120, 0.001}}, "Time: 120.00 s   Ratio, E-03: 1.000"},
    };
    for (const auto& [start, span, yMin, yMax, x, y, at, text] : cases) {
        SCOPED_TRACE(text.isEmpty() ? std::string("off the plot") : text.toStdString());
        const bool ratio = text.contains("Ratio");
        std::tie(s.YLabelMode, s.YTitle) = std::pair(ratio ? 0 : 1, ratio ? "Ratio" : QString());
        Draw(start, span, yMin, yMax);
        const std::optional<ChartCursor> got = CursorAt(s.Screen, s.YMin, x, y);
        ASSERT_EQ(got.has_value(), at.has_value());
        if (got) {
            EXPECT_NEAR(got->Time, at->first, 1e-9);
            EXPECT_NEAR(got->Value, at->second, 1e-7);
            // Where that point is drawn is where the mouse was.
            const QPointF p = PointPosition(s.Screen, got->Time, got->Value, s.YMin);
            EXPECT_NEAR(std::hypot(p.x() - x, p.y() - y), 0, 1e-6);
        }
        EXPECT_EQ(CursorTextAt(s, x, y), text);
    }
    EXPECT_EQ(CursorAt(ChartSettings{}.Screen, 0, 81, 49), std::nullopt) << "no scales before a drawing";
}

// 12.5 mW on a 0-1 W chart is a flat line on the floor; the range kept on
// the data shows it.
TEST(AutoScaleRange, keepsTheDataOnTheChartWithRoundEdges) {
    const std::tuple<double, double, std::optional<std::pair<float, float>>> cases[] = {
        {0.0125, 0.0125, {{0.0118f, 0.0132f}}},    // one reading: 5 % room, steps of 0.2 mW
        {0.01225, 0.01275, {{0.0122f, 0.0128f}}},  // 12.5 mW +-2 %
        {0.01275, 0.01225, {{0.0122f, 0.0128f}}},  // turned over
        {0, 1, {{0, 1.2f}}},                       // not below 0 for power
        {0, 0.5, {{0, 0.6f}}},                     // steps of 0.1: a whole decade
        {-0.5, 0.5, {{-0.6f, 0.6f}}},              // a difference may be negative
        {0, 0, std::nullopt},
        {NAN, 1, std::nullopt},
        {0, INFINITY, std::nullopt},
    };
    for (const auto& [low, high, range] : cases) {
        const std::optional<ChartRange> r = AutoScaleRange(low, high, 10);
        EXPECT_EQ(r ? std::optional(std::pair(r->Min, r->Max)) : std::nullopt, range)
            << low << " .. " << high;
    }
}
