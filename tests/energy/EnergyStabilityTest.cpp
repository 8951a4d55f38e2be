#include "EnergyHarness.h"

#include "auxiliary/StabilityWindow.h"
#include "energy/EnergySetupDialog.h"
#include "energy/EnergyWindow.h"
#include "platform/SurfaceWidget.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cmath>

namespace {

class EnergyStabilityTest : public EnergyTest {
protected:
    void SetUp() override {
        EnergyTest::SetUp();
        w.resize(860, 560);
        w.show();
    }
    void TearDown() override {
        SetupEnergy().hide();
        EnergyTest::TearDown();
    }
    void Feed(const QString& text) {
        QString line = text + QLatin1Char('\r');
        w.EnergyLog(0, line);
    }
    void Pulse(const QString& reading) {
        clock.Advance(0.05);
        for (int k = 0; k < 2 && w.Engine.PollState != 3; ++k) Feed("*1");  // ready, new pulse
        Feed(reading);
    }
    QString Cell(const StabilityWindow& s, const QString& label) {
        for (int r = 0; r < s.Figures->rowCount(); ++r)
            if (s.Figures->item(r, 0)->text() == label) return s.Figures->item(r, 1)->text();
        return {};
    }
    EnergyWindow w;
};

// 1, 2, (over range), 3, 4 mJ: mean 2.5 mJ, sigma root(5/3) mJ.
TEST_F(EnergyStabilityTest, pulsesOfTheRunSoFar) {
    UseMeter(sim::Model::Talon, 2);
    Enter(ModeEnergy, "FE", &w.Engine);
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    Feed("*");
    for (const char* r : {"*1.000E-03", "*2.000E-03", "*OVER", "*3.000E-03", "*4.000E-03"}) Pulse(r);
    QTest::mouseClick(w.findChild<QPushButton*>("butStability"), Qt::LeftButton);
    auto* s = w.findChild<StabilityWindow*>("StabilityWindow");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ("4", Cell(*s, "Pulses"));
    EXPECT_EQ("1", Cell(*s, "Over range"));
    EXPECT_NEAR(2.5e-3, Cell(*s, "Mean").section(' ', 0, 0).toDouble(), 1e-9);
    EXPECT_NEAR(std::sqrt(5.0 / 3) / 2.5 * 100, Cell(*s, "Pulse-to-pulse RSD").section(' ', 0, 0).toDouble(),
                1e-4);
    EXPECT_EQ("120 %", Cell(*s, "Peak-to-peak"));
    EXPECT_FALSE(s->Picture1->isVisibleTo(s));  // no Allan deviation for pulses
}

}  // namespace
