#include "PowerHarness.h"

#include "auxiliary/StabilityWindow.h"
#include "platform/SurfaceWidget.h"
#include "power/PowerWindow.h"
#include "support/Screenshot.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>

namespace {

// The number in a figure's cell ("0.1235 W" gives 0.1235).
double Cell(const StabilityWindow& s, const QString& label) {
    for (int r = 0; r < s.Figures->rowCount(); ++r)
        if (s.Figures->item(r, 0)->text() == label)
            return s.Figures->item(r, 1)->text().section(' ', 0, 0).toDouble();
    ADD_FAILURE() << label.toStdString();
    return NAN;
}

class PowerStabilityTest : public PowerTest {
protected:
    void SetUp() override {
        PowerTest::SetUp();
        App().Config.Power.LogTime = 120;
        App().Config.Power.GraphHigh = 0.5;
        w.Engine.View.TrialReading = [] {};
        w.resize(900, 560);
        w.show();
        QString none;
        w.PowerLog(-1, none);
        QTest::mouseClick(w.butStartStop, Qt::LeftButton);
        Feed("*0");
    }
    void Feed(QString line) { w.PowerLog(0, line += QLatin1Char('\r')); }
    // Readings 0.1 + 0.001 i W every 0.25 s, from i = `from` to `to` - 1:
    // a slope of 0.004 W/s.
    void Ramp(int from, int to) {
        for (int i = from; i < to; ++i) {
            clock.Advance(0.25);
            Feed("*" + QString::number(0.1 + 0.001 * i, 'E', 4));
        }
    }
    PowerWindow w;
};

// The figures follow the run once a second while it goes on.
TEST_F(PowerStabilityTest, liveRunFiguresFollowTheRun) {
    Ramp(0, 100);
    QTest::mouseClick(w.findChild<QPushButton*>("butStability"), Qt::LeftButton);
    auto* s = w.findChild<StabilityWindow*>("StabilityWindow");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(100, Cell(*s, "Readings"));
    EXPECT_NEAR(0.1 + 0.001 * 49.5, Cell(*s, "Mean"), 1e-6);
    EXPECT_NEAR(0.004 * 3600, Cell(*s, "Drift"), 1e-3);

    Ramp(100, 200);
    s->Tick();
    EXPECT_EQ(200, Cell(*s, "Readings"));
    EXPECT_NEAR(0.1 + 0.001 * 99.5, Cell(*s, "Mean"), 1e-6);
    EXPECT_EQ(0.25, Cell(*s, "Median interval"));
    // Copied: label TAB value, then the Allan table; one reading's step
    // over root 2 at the shortest averaging time.
    const QString text = s->TabText();
    EXPECT_TRUE(text.startsWith("Readings\t200\nOver range\t0\nMean\t")) << text.toStdString();
    const QString head = "tau (s)\tAllan deviation (W)\trelative\n";
    ASSERT_TRUE(text.contains(head));
    const QStringList first = text.section(head, 1).section('\n', 0, 0).split('\t');
    ASSERT_EQ(3, first.size());
    EXPECT_EQ("0.25", first[0]);
    EXPECT_NEAR(0.001 / std::sqrt(2.0), first[1].toDouble(), 1e-8);
    s->resize(760, 420);
    QApplication::processEvents();
    EXPECT_GT(YellowPixels(s->Picture1->Surface().Image()), 20);  // the curve in the trace colour
    EXPECT_FALSE(SaveScreenshot(s, "stability_live_power").isEmpty());
}

}  // namespace
