#include "charts/StripChart.h"
#include "data/Overrange.h"
#include "platform/Palette.h"
#include "platform/SurfaceWidget.h"
#include "state/AppState.h"
#include "support/Screenshot.h"

#include <gtest/gtest.h>
#include <QDir>
#include <cmath>

namespace {

// A finished 4-minute run of a laser warming up, with one over-range reading.
void DrawSampleChart(ChartSettings& s, platform::Surface& surface) {
    s.YMax = 0.5f;
    s.YMin = 0;
    DrawChart(0, s, surface, 0, 240);
    for (int i = 0; i <= 480; ++i) {
        double t = i * 0.5;
        s.LastTime = t;
        s.LastReading = i == 300 ? OverrangeValue : 0.38 * (1 - std::exp(-t / 40)) + 0.01 * std::sin(t * 1.7);
        s.LastIndex = i;
        DrawChart(1, s, surface, 0, 0);
    }
}

}  // namespace

TEST(StripChartScreenshot, sampleChartRendersInItsColoursAndSharpAtTwiceThePixels) {
    ResetAppState();
    ChartSettings s;
    platform::SurfaceWidget widget;
    widget.Resized = [&] {
        FitChartToPixels(s, widget.size());
        DrawSampleChart(s, widget.Surface());
    };
    widget.resize(640, 400);
    widget.show();
    ASSERT_EQ(s.Width, 160);
    EXPECT_FALSE(SaveScreenshot(&widget, "strip_chart").isEmpty());
    QImage image = widget.Surface().Image();
    const double dpr = image.devicePixelRatio();
    EXPECT_EQ(image.pixelColor(int(100 * 4 * dpr), int(80 * 4 * dpr)), platform::PaletteColor(1));
    // The over-range reading reaches above the frame (the antialiased trace is mostly yellow there).
    bool traceAboveFrame = false;
    for (int x = 0; x < image.width(); ++x) {
        QColor c = image.pixelColor(x, int(6 * 4 * dpr));
        traceAboveFrame = traceAboveFrame || (c.red() > 128 && c.green() > 128 && c.blue() < 128);
    }
    EXPECT_TRUE(traceAboveFrame);

    platform::ImageSurface hidpi(QSize(640, 400), 2.0);
    DrawSampleChart(s, hidpi);
    image = hidpi.Snapshot();
    QString dir = qEnvironmentVariable("KELVARO_SCREENSHOTS", "screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(image.save(QDir(dir).filePath("strip_chart_hidpi.png")));
    ASSERT_EQ(image.size(), QSize(1280, 800));
    // The plot frame's left edge is one logical pixel, two device pixels, wide and sharp.
    const int y = 60 * 4 * 2;
    int frameX = -1;
    for (int x = 30 * 2; x < 60 * 2 && frameX < 0; ++x)
        if (image.pixelColor(x, y) == platform::PaletteColor(7)) frameX = x;
    ASSERT_GT(frameX, 0);
    EXPECT_EQ(image.pixelColor(frameX + 1, y), platform::PaletteColor(7));
    EXPECT_EQ(image.pixelColor(frameX + 2, y), platform::PaletteColor(1));
    EXPECT_EQ(image.pixelColor(frameX - 1, y), platform::PaletteColor(1));
}
