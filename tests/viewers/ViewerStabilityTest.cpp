#include "auxiliary/NotesWindow.h"
#include "auxiliary/StabilityWindow.h"
#include "data/NumberFormat.h"
#include "platform/SurfaceWidget.h"
#include "state/AppState.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "viewers/PowerViewer.h"
#include "viewers/PowerViewers.h"
#include "viewers/Viewers.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>

namespace {

double Cell(const StabilityWindow& s, const QString& label) {
    for (int r = 0; r < s.Figures->rowCount(); ++r)
        if (s.Figures->item(r, 0)->text() == label)
            return s.Figures->item(r, 1)->text().section(' ', 0, 0).toDouble();
    ADD_FAILURE() << label.toStdString();
    return NAN;
}

class ViewerStabilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        App().BaseUnit = "W";
        SetDecimalSeparator(".");
        Notes().ClearNotesBox();
        area.resize(1000, 640);
        area.show();
        InstallPowerViewers(&area);
    }
    void TearDown() override {
        ForgetViewers();
        SetDecimalSeparator(QString());
    }
    // 0.2 + 0.001 i W at 0.5 i s: 0.002 W/s.
    PowerViewer& ShowRamp(int n) {
        auto& v = *dynamic_cast<PowerViewer*>(::Viewer(ViewPower));
        v.Load(-1, "ramp.pwr; Head: TH1");
        for (int i = 0; i < n; ++i)
            v.Load(0, QString::number(0.2 + 0.001 * i, 'f', 6).leftJustified(18) + "\t" +
                          QString::number(i * 0.5, 'f', 2));
        v.ShowData();
        return v;
    }
    static QPoint At(PowerViewer& v, double t) {
        const ChartGeometry& g = v.Chart.Screen;
        const double x = g.PlotLeft + (t - g.ChartStart) * g.XPerSecond;
        return QPoint(int(std::lround(x * v.Picture1->width() / double(v.Chart.Width))),
                      v.Picture1->height() / 2);
    }
    QMdiArea area;
    ScriptedPrompts prompts;
};

// The figures are those of the interval shown: a zoom narrows them.
TEST_F(ViewerStabilityTest, zoomNarrowsTheFigures) {
    PowerViewer& v = ShowRamp(200);
    v.resize(960, 600);
    QApplication::processEvents();
    QTest::mouseClick(v.findChild<QPushButton*>("butStability"), Qt::LeftButton);
    auto* s = v.findChild<StabilityWindow*>("StabilityWindow");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(200, Cell(*s, "Readings"));
    EXPECT_NEAR(0.2 + 0.001 * 99.5, Cell(*s, "Mean"), 1e-9);
    EXPECT_NEAR(0.002 * 3600, Cell(*s, "Drift"), 1e-9);

    QTest::mousePress(v.Picture1, Qt::LeftButton, {}, At(v, 40));
    QTest::mouseMove(v.Picture1, At(v, 45));
    QTest::mouseMove(v.Picture1, At(v, 60));
    QTest::mouseRelease(v.Picture1, Qt::LeftButton, {}, At(v, 60));
    ASSERT_TRUE(v.Zoomed);
    s->Tick();
    EXPECT_EQ(v.ZoomLast - v.ZoomFirst + 1, Cell(*s, "Readings"));
    EXPECT_NEAR(0.2 + 0.001 * (v.ZoomFirst + v.ZoomLast) / 2.0, Cell(*s, "Mean"), 1e-9);
    EXPECT_NEAR(0.002 * 3600, Cell(*s, "Drift"), 1e-9);
    EXPECT_TRUE(s->lblTitle->text().contains(QString::number(v.Data.Time(v.ZoomFirst), 'f', 2) + " s to "));
    QApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(s, "stability_zoomed_viewer").isEmpty());
    EXPECT_EQ(1, PrintToScreenshots("stability_printout", [&] { EXPECT_TRUE(s->PrintFigures()); }));
}

}  // namespace
