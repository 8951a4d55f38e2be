#include "charts/StripChart.h"
#include "data/Overrange.h"
#include "platform/Palette.h"
#include "platform/Printer.h"
#include "platform/SurfaceWidget.h"
#include "state/AppState.h"
#include "support/RecordingSurface.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

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
        s.LastTime = i * 0.5;
        s.LastReading = i == 300
                            ? OverrangeValue
                            : 0.38 * (1 - std::exp(-s.LastTime / 40)) + 0.01 * std::sin(s.LastTime * 1.7);
        s.LastIndex = i;
        DrawChart(1, s, surface, 0, 0);
    }
}

}  // namespace

TEST(StripChartPrint, chartPrintsToAPdfWithThePlotInsideThePageMargins) {
    ResetAppState();
    TempDir dir;
    ScriptedPrompts prompts;
    ChartSettings s;
    s.Width = 160;
    s.Height = 100;
    s.YMax = 0.5f;
    platform::printer().ForcePdf(dir.Path("chart.pdf"));
    RecordingSurface screenSurface;
    DrawChart(0, s, screenSurface, 0, 240);  // the window's chart first
    const ChartGeometry screen = s.Screen;
    // The print sequence of the power window: frame, points, end of page.
    ASSERT_TRUE(PrintChart(0, s, platform::printer(), 0, 240));
    for (int i = 0; i <= 100; ++i) {
        s.LastTime = i * 2.4;
        s.LastReading = 0.25 + 0.2 * std::sin(i / 8.0);
        s.LastIndex = i;
        PrintChart(1, s, platform::printer(), 0, 240);
    }
    ASSERT_TRUE(PrintChart(2, s, platform::printer(), 0, 240));
    const double pageWidth = platform::printer().Page().ScaleWidth();
    const double pageHeight = platform::printer().Page().ScaleHeight();
    EXPECT_GT(pageWidth, 150);  // A4 or Letter in millimetres
    EXPECT_GT(pageHeight, 200);
    EXPECT_EQ(std::vector<double>(
                  {s.Paper.PlotLeft, s.Paper.PlotTop, s.Paper.OverY, s.Paper.PlotRight, s.Paper.PlotBottom}),
              std::vector<double>({25, 60, 55, pageWidth - 50, pageHeight - 50}));
    // Printing leaves the screen chart's geometry alone, so the live trace
    // goes on at the right place after a print.
    EXPECT_EQ(std::pair(s.Screen.PlotRight, s.Screen.YPerUnit), std::pair(screen.PlotRight, screen.YPerUnit));
    EXPECT_GT(dir.Read("chart.pdf").size(), 1000);
    platform::printer().ForcePdf(QString());
}

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

    platform::ImageSurface hidpi(QSize(640, 400), 2.0);
    DrawSampleChart(s, hidpi);
    image = hidpi.Snapshot();
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
