#include "charts/Histogram.h"
#include "state/AppState.h"
#include "support/ProgramState.h"
#include "support/RecordingSurface.h"
#include "support/SeparatorScope.h"

#include <gtest/gtest.h>

namespace {

class HistogramTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
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
    QStringList PulseLabels() const {  // at the left edge
        return surface.Texts([](const auto& c) { return c.x1 == 0 && c.y1 > 0; });
    }

    HistogramSpec h;
    SeparatorScope point{"."};
    RecordingSurface surface;
    int32_t yMax = 100;
};

}  // namespace

TEST_F(HistogramTest, valueOnAnEdgeGoesToTheNextBinAndOutOfRangeToTheEndSlots) {
    const std::pair<double, int> cases[] = {{-1e-4, 0},   {0, 1},     {0.001, 2}, {0.0025, 3},
                                            {0.0099, 10}, {0.01, 11}, {0.5, 11},  {-1e300, 0}};
    for (auto [value, bin] : cases) EXPECT_EQ(BinOf(h, value), bin) << value;
    EXPECT_EQ(AddToHistogram(h, 0.01), 11);
    EXPECT_EQ(h.Bins[11].Count, 1);
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
        {0.001f, 0.005f, false, "1.0mJ 1.4mJ 1.8mJ 2.2mJ 2.6mJ 3.0mJ 3.4mJ 3.8mJ 4.2mJ 4.6mJ 5.0mJ", "Energy, Joules"},
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
        EXPECT_EQ(PulseLabels().join(' '), "100 90 80 70 60 50 40 30 20 10 0");
    }
    EXPECT_DOUBLE_EQ(h.Screen.SlotWidth, (160 - 9 - 12) / 12.0);
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
    DrawHistogram(0, {}, surface, h, yMax, false);
    EXPECT_EQ(PulseLabels().join(' '), "200 180 160 140 120 100 80 60 40 20 0");
    // Too low for a label on every line: every other one.
    surface.Forget();
    h.Height = 40;
    DrawHistogram(0, {}, surface, h, yMax, false);
    EXPECT_EQ(PulseLabels().join(' '), "200 160 120 80 40 0");
    // Too narrow for energy labels on every other tick: on every fifth.
    surface.Forget();
    h.Width = 60;
    DrawHistogram(0, {}, surface, h, yMax, false);
    EXPECT_EQ(EnergyLabels().join(' '), "0J 5.0mJ 10.0mJ");
}
