#include "charts/StripChart.h"
#include "data/NumberFormat.h"
#include "platform/Printer.h"
#include "state/AppState.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QFile>
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
