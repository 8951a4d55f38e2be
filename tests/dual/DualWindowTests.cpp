#include "dual/DualPowerProfiles.h"
#include "dual/PowerRatioWindow.h"
#include "state/Configuration.h"
#include "support/ProgramState.h"
#include "support/Screenshot.h"
#include "tests/power/PowerHarness.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <cmath>

namespace {

using DualSetupTest = PowerSetupTest;

// OK stores Low and High times 10^exponent; the dialog shows them back.
TEST_F(DualSetupTest, ratioLimitsAreDimensionlessWithACommonExponent) {
    PowerSetupDialog& dialog = SetupPowerRatio();
    dialog.SetupPowerGraph(false);
    EXPECT_EQ(dialog.windowTitle(), "Power Ratio Setup");
    ASSERT_NE(dialog.graph_exp, nullptr);
    dialog.graph_limits[0]->setValue(1);
    dialog.graph_limits[1]->setValue(5);
    dialog.txt_exp->selectAll();
    QTest::keyClicks(dialog.txt_exp, "-3");
    dialog.Option4[1]->setChecked(true);
    dialog.Command2->click();
    const PowerRatioSettings& s = CurrentSettings().PowerRatio;
    EXPECT_DOUBLE_EQ(s.RatioLow, 0.001);
    EXPECT_DOUBLE_EQ(s.RatioHigh, 0.005);
    EXPECT_EQ(s.RatioExponent, -3);
    EXPECT_EQ(s.RatioDisplayMode, 1);

    dialog.SetupPowerGraph(false);
    EXPECT_EQ(dialog.txt_power[0]->text() + " " + dialog.txt_power[1]->text() + " " + dialog.txt_exp->text(),
              "1 5 -3");
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "power-ratio-setup").isEmpty());
    dialog.hide();
}

TEST_F(DualSetupTest, differenceRangeMayBeNegative) {
    PowerSetupDialog& dialog = SetupPowerDifference();
    dialog.SetupPowerGraph(false);
    EXPECT_EQ(dialog.windowTitle(), "Power Difference Setup");
    dialog.cmbPowerUnits->setCurrentIndex(3);  // mW
    dialog.txt_power[0]->selectAll();
    QTest::keyClicks(dialog.txt_power[0], "-10");
    dialog.txt_power[1]->selectAll();
    QTest::keyClicks(dialog.txt_power[1], "10");
    dialog.Command2->click();  // takes both typed limits
    const PowerDifferenceSettings& s = CurrentSettings().PowerDifference;
    EXPECT_DOUBLE_EQ(s.DifferenceLow, -0.01);
    EXPECT_DOUBLE_EQ(s.DifferenceHigh, 0.01);
    EXPECT_EQ(prompts.beeps, 0);

    dialog.SetupPowerGraph(false);
    EXPECT_EQ(dialog.txt_power[0]->text() + " " + dialog.txt_power[1]->text() + " " +
                  dialog.cmbPowerUnits->currentText(),
              "-10 10 mW");
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "power-difference-setup").isEmpty());
    dialog.hide();
}

class RatioWindowTest : public PowerTest {
protected:
    void SetUp() override {
        PowerTest::SetUp();
        AppState& app = App();
        app.ActiveMode = ModePowerRatio;
        TestMeter().Channels[1] = Meter().Channels[0];
        TestMeter().Channels[1].HeadName = "3B";
        CurrentSettings().PowerRatio.RatioLogTime = 60;
        CurrentSettings().PowerRatio.RatioHigh = 2;
        WorkFiles().PowerRatioWorkFile = dir.Path("kelvaro.dpw");
        w.resize(900, 560);
        w.show();
        QString none;
        w.PowerRatioLog(-1, none);
    }
    void Feed(QString line) { w.PowerRatioLog(0, line += QLatin1Char('\r')); }
    PowerRatioWindow w;
};

TEST_F(RatioWindowTest, directionNormalisationAndPrintout) {
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    EXPECT_EQ(w.windowTitle(), "Real-Time Power Ratio Logging - A: 3A; s/n 123456  B: 3B; s/n 123456");
    Feed("*0 0");
    for (int i = 0; i < 200; ++i) {
        clock.Advance(0.25);
        Feed(QString("*%1 1.0E-3").arg(1.0E-3 * (1.2 + 0.1 * std::sin(i * 0.2)), 0, 'E', 4));
    }
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    QTest::mouseClick(w.butNormalize, Qt::LeftButton);
    EXPECT_EQ(w.butNormalize->text(), "DeNormalize");
    // The average of 1.2 + 0.1 sin(0.2 i), i < 200, is 1.204.
    EXPECT_EQ(w.lblNorma->text(), "8.31 E-01");
    EXPECT_EQ(PrintToScreenshots("power-ratio-printout", [this] { w.PowerRatioPrint(); }), 1);

    // A typed text that names no direction changes nothing.
    for (const char* typed : {"X/Y", "B/A"}) {
        w.cmbRatioMode->lineEdit()->setText(typed);
        QTest::keyClick(w.cmbRatioMode->lineEdit(), Qt::Key_Return);
    }
    EXPECT_EQ(w.Engine.Direction, 1);
    EXPECT_EQ(w.cmbRatioMode->currentText(), "B/A");
    EXPECT_EQ(w.cmbRatioMode->count(), 2) << "typed texts are not added to the list";
    EXPECT_EQ(w.lblNorma->text(), "None");
    EXPECT_EQ(w.lblMinRatioPower->text(), "Min:  7.69 E-01");  // 1 / 1.3
}

}  // namespace
