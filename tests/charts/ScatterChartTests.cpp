#include "charts/ScatterChart.h"
#include "data/Overrange.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/RecordingSurface.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

namespace {

class ScatterChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
        spec.Width = 120;
        spec.Height = 80;
        spec.EnergyHigh = 0.01f;
    }
    DualChartSpec spec;
    SeparatorScope point{"."};
    RecordingSurface surface;
};

}  // namespace

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
        spec.RatioHigh = rHigh;
        spec.RatioLow = rLow;
        spec.EnergyLow = eLow;
        spec.EnergyHigh = eHigh;
        const ScatterLabels t = ScatterLabelTexts(spec);
        EXPECT_EQ(t.YTitle, yTitle);
        EXPECT_EQ(t.YLabels.join(' '), yLabels) << yTitle;
        EXPECT_EQ(t.XTitle, xTitle);
        EXPECT_EQ(t.XLabels.join(' '), xLabels) << xTitle;
    }
}

TEST_F(ScatterChartTest, narrowOrLowSurfacesLabelEveryOtherTickAndGridFollowsItsStyle) {
    // width, height, grid style: energy labels, ratio labels, horizontal and vertical grid lines
    const std::tuple<int, int, int, int, int, int, int> cases[] = {
        {120, 80, 3, 11, 11, 11, 11}, {99, 80, 1, 6, 11, 11, 0}, {120, 49, 2, 11, 6, 0, 11}};
    for (auto [w, h, grid, xCount, yCount, hLines, vLines] : cases) {
        surface.Forget();
        spec.Width = int16_t(w);
        spec.Height = int16_t(h);
        spec.GridStyle = int16_t(grid);
        DrawScatterFrame(spec, surface);
        const ScatterFrame& f = spec.Screen;
        const auto below = surface.Texts([&](const auto& c) { return c.y1 > f.Bottom; });
        const auto left = surface.Texts([](const auto& c) { return c.x1 == 0 && c.y1 > 0; });
        EXPECT_EQ(below.size(), size_t(xCount + 1)) << w;  // and the title
        EXPECT_EQ(left.size(), size_t(yCount)) << h;
        int horizontal = 0, vertical = 0;
        for (const auto& c : surface.Calls("Line"))
            if (c.color == 11) (c.y1 == c.y2 ? horizontal : vertical)++;
        EXPECT_EQ(std::pair(horizontal, vertical), std::pair(hLines, vLines)) << grid;
    }
    EXPECT_NE(surface.Printed("Ratio"), nullptr);
    EXPECT_NE(surface.Printed("channel A: Energy, mJ"), nullptr);
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
        EXPECT_NEAR(boxes[0].x2 - boxes[0].x1, 0.5, 1e-9);
        EXPECT_EQ(boxes[0].color, 14);
    }
    // Equal limits leave no scale to divide by: points stay at the low corner.
    spec.EnergyLow = spec.EnergyHigh = 0.005f;
    spec.RatioLow = spec.RatioHigh = 1;
    DrawScatterFrame(spec, surface);
    surface.Forget();
    DrawScatterPoint(spec.Screen, surface, 0.007, 3);
    ASSERT_EQ(surface.Calls("FillBox").size(), 1u);
    EXPECT_EQ(std::pair(surface.Calls("FillBox")[0].x1, surface.Calls("FillBox")[0].y1),
              std::pair(11.0, 71.0));
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
        EXPECT_EQ(ReplayStep(count), step);
        EXPECT_EQ(n, drawn) << count;
        if (asked.size() > 1) {
            EXPECT_EQ(asked[1], step);
        }
    }
}
