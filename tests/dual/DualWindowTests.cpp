#include "auxiliary/SetupControls.h"
#include "dual/DualPowerProfiles.h"
#include "dual/PowerRatioWindow.h"
#include "support/Screenshot.h"
#include "tests/power/PowerHarness.h"

#include <QTest>
#include <QtWidgets>
#include <cmath>

namespace {

void Type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
}

// Ratio limits are dimensionless with a common exponent: OK stores Low and High times
// 10^exponent. A difference range may be negative. Each dialog shows the stored limits back.
TEST_F(PowerSetupTest, ratioLimitsTakeACommonExponentAndADifferenceRangeMayBeNegative) {
    PowerSetupDialog& ratio = SetupPowerRatio();
    ratio.SetupPowerGraph(false);
    ratio.graph_limits[0]->setValue(1);
    ratio.graph_limits[1]->setValue(5);
    Type(ratio.txt_exp, "-3");
    ratio.Option4[1]->setChecked(true);
    ratio.Command2->click();
    const PowerRatioSettings& r = CurrentSettings().PowerRatio;
    EXPECT_EQ(std::tuple(r.RatioLow, r.RatioHigh, r.RatioExponent, r.RatioDisplayMode),
              std::tuple(0.001, 0.005, int16_t(-3), int16_t(1)));

    PowerSetupDialog& difference = SetupPowerDifference();
    difference.SetupPowerGraph(false);
    difference.cmbPowerUnits->setCurrentIndex(3);  // mW
    Type(difference.txt_power[1], "4x");
    difference.Command2->click();  // refused: a beep, the box marked and the dialog open
    EXPECT_TRUE(prompts.beeps == 1 && IsRefused(difference.txt_power[1]) && difference.isVisible());
    Type(difference.txt_power[0], "-10");
    Type(difference.txt_power[1], "10");
    difference.Command2->click();  // takes both typed limits
    const PowerDifferenceSettings& d = CurrentSettings().PowerDifference;
    EXPECT_EQ(std::tuple(d.DifferenceLow, d.DifferenceHigh, prompts.beeps), std::tuple(-0.01, 0.01, 1));

    for (auto [dialog, shown, name] : {std::tuple{&ratio, "1 5 -3", "power-ratio-setup"},
                                       {&difference, "-10 10 mW", "power-difference-setup"}}) {
        dialog->SetupPowerGraph(false);
        EXPECT_EQ(dialog->txt_power[0]->text() + " " + dialog->txt_power[1]->text() + " " +
                      (dialog == &ratio ? dialog->txt_exp->text() : dialog->cmbPowerUnits->currentText()),
                  shown);
        dialog->adjustSize();
        EXPECT_FALSE(SaveScreenshot(dialog, name).isEmpty());
        dialog->hide();
    }
    // A typed decimal is taken in the unit shown, and shown again as it is.
    difference.SetupPowerGraph(false);
    Type(difference.txt_power[0], "-10.5");
    difference.Command2->click();
    difference.SetupPowerGraph(false);
    EXPECT_DOUBLE_EQ(d.DifferenceLow, -0.0105);
    EXPECT_EQ(difference.txt_power[0]->text(), "-10.5");
}

using RatioWindowTest = PowerTest;

TEST_F(RatioWindowTest, directionNormalisationAndPrintout) {
    App().ActiveMode = ModePowerRatio;
    TestMeter().Channels[1] = Meter().Channels[0];
    TestMeter().Channels[1].HeadName = "3B";
    CurrentSettings().PowerRatio.RatioLogTime = 60;
    CurrentSettings().PowerRatio.RatioHigh = 2;
    WorkFiles().PowerRatioWorkFile = dir.Path("kelvaro.dpw");
    PowerRatioWindow w;
    w.resize(900, 560);
    w.show();
    QString reply;
    w.PowerRatioLog(-1, reply);
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), "Real-Time Power Ratio Logging - A: 3A; s/n 123456  B: 3B; s/n 123456");
    for (int i = -1; i < 200; ++i) {  // the first request's answer, then the readings
        clock.Advance(0.25);
        reply = i < 0 ? "*0 0\r"
                      : QString("*%1 1.0E-3\r").arg(1.0E-3 * (1.2 + 0.1 * std::sin(i * 0.2)), 0, 'E', 4);
        w.PowerRatioLog(0, reply);
    }
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    QTest::mouseClick(w.butNormalize, Qt::LeftButton);
    // The average of 1.2 + 0.1 sin(0.2 i), i < 200, is 1.204.
    EXPECT_EQ(w.butNormalize->text() + " " + w.lblNorma->text(), "DeNormalize 8.31 E-01");
    EXPECT_EQ(PrintToScreenshots("power-ratio-printout", [&w] { w.PowerRatioPrint(); }), 1);

    // A typed text that names no direction changes nothing.
    for (const char* typed : {"X/Y", "B/A"}) {
        w.cmbRatioMode->lineEdit()->setText(typed);
        QTest::keyClick(w.cmbRatioMode->lineEdit(), Qt::Key_Return);
    }
    // Typed texts are not added to the list; the Min of B/A is 1 / 1.3.
    EXPECT_EQ(std::tuple(w.Engine.Direction, w.cmbRatioMode->currentText(), w.cmbRatioMode->count(),
                         w.lblNorma->text(), w.lblMinRatioPower->text()),
              std::tuple(1, QString("B/A"), 2, QString("None"), QString("Min:  7.69 E-01")));
}

}  // namespace
