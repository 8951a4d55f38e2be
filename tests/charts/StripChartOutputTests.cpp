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

class StripChartPrint : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        s.Width = 160;
        s.Height = 100;
        s.YMax = 0.5f;
    }
    void TearDown() override {
        platform::printer().ForcePdf(QString());
        platform::printer().AssumeSystemPrinter(std::nullopt);
    }

    // The print sequence of the power window: frame, points, end of page.
    bool PrintRun(float span) {
        if (!PrintChart(0, s, platform::printer(), 0, span)) return false;
        for (int i = 0; i <= 100; ++i) {
            s.LastTime = i * span / 100.0;
            s.LastReading = 0.25 + 0.2 * std::sin(i / 8.0);
            s.LastIndex = i;
            PrintChart(1, s, platform::printer(), 0, span);
        }
        return PrintChart(2, s, platform::printer(), 0, span);
    }

    ChartSettings s;
    TempDir dir;
    ScriptedPrompts prompts;
};

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

TEST_F(StripChartPrint, chartPrintsToAPdfWithThePlotInsideThePageMargins) {
    QString path = dir.Path("chart.pdf");
    platform::printer().ForcePdf(path);
    RecordingSurface screenSurface;
    DrawChart(0, s, screenSurface, 0, 240);  // the window's chart first
    ChartGeometry screen = s.Screen;
    ASSERT_TRUE(PrintRun(240));
    double pageWidth = platform::printer().Page().ScaleWidth();
    double pageHeight = platform::printer().Page().ScaleHeight();
    EXPECT_GT(pageWidth, 150);  // A4 or Letter in millimetres
    EXPECT_GT(pageHeight, 200);
    EXPECT_EQ(std::vector<double>({s.Paper.PlotLeft, s.Paper.PlotTop, s.Paper.OverY}),
              std::vector<double>({25, 60, 55}));
    EXPECT_DOUBLE_EQ(s.Paper.PlotRight, pageWidth - 50);
    EXPECT_DOUBLE_EQ(s.Paper.PlotBottom, pageHeight - 50);
    // Printing leaves the screen chart's geometry alone, so the live trace
    // goes on at the right place after a print.
    EXPECT_EQ(s.Screen.PlotRight, screen.PlotRight);
    EXPECT_EQ(s.Screen.YPerUnit, screen.YPerUnit);
    EXPECT_GT(dir.Read("chart.pdf").size(), 1000);
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
