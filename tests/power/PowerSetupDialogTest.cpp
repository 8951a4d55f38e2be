#include "PowerHarness.h"

#include "auxiliary/SetupControls.h"
#include "power/PowerSetupDialog.h"
#include "support/Screenshot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

// The rules are pinned in PowerSetupRulesTest; here the dialog shows the
// stored settings and OK stores what it shows.
using PowerSetupDialogTest = PowerSetupTest;

TEST_F(PowerSetupDialogTest, showsTheStoredSettingsAndOkStoresTheChoices) {
    UseBaseUnit("Lx");
    PowerSettings& s = App().Config.Power;
    s.LogTime = 3725;
    s.StatMode = 1;
    s.GraphExponent = 1;
    s.GraphLow = 2;
    s.GraphHigh = 8;  // in x 10: 200 .. 800 mLx
    PowerSetupDialog dialog;
    dialog.SetupPowerGraph(true);
    EXPECT_EQ(
        dialog.txt_time[2]->text() + ":" + dialog.txt_time[1]->text() + ":" + dialog.txt_time[0]->text(),
        "1:2:5");
    EXPECT_FALSE(dialog.logtime[2]->isEnabled() || dialog.txt_time[0]->isEnabled());
    EXPECT_TRUE(dialog.chkStat[1]->isChecked() && !dialog.chkStat[2]->isChecked());
    EXPECT_EQ(dialog.cmbPowerCoeff->currentText() + " " + dialog.cmbPowerUnits->currentText(), "x 10 mLx");
    EXPECT_EQ(dialog.txt_power[0]->text() + " " + dialog.txt_power[1]->text(), "200 800");
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "power_setup").isEmpty());

    // Typing keeps at most three digits (no pure rule holds this one).
    dialog.txt_power[1]->selectAll();
    QTest::keyClicks(dialog.txt_power[1], "1000");
    EXPECT_EQ(dialog.txt_power[1]->text(), "100");
    EXPECT_EQ(prompts.beeps, 1);

    dialog.chkStat[2]->setChecked(true);
    dialog.graph_limits[1]->setValue(100);
    dialog.graph_limits[0]->setValue(500);
    dialog.Command2->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(s.StatMode, 3);
    // The High bar moved to 100 stays above Low (201); Low then moved to 500
    // is brought back below High by OK: 200 .. 201 mLx x 10.
    EXPECT_DOUBLE_EQ(s.GraphLow, 2.0);
    EXPECT_DOUBLE_EQ(s.GraphHigh, 2.01);
    EXPECT_TRUE(dir.Read("kelvaro.cfg").contains("3725"));
}

TEST_F(PowerSetupDialogTest, aTypedDecimalLimitIsTakenInTheUnitShownOrRefused) {
    UseBaseUnit("W");
    PowerSettings& s = App().Config.Power;
    s.GraphLow = 0.0105;  // 10.5 .. 50 mW
    s.GraphHigh = 0.05;
    PowerSetupDialog dialog;
    dialog.SetupPowerGraph(false);
    EXPECT_EQ(dialog.cmbPowerUnits->currentText() + " " + dialog.txt_power[0]->text(), "mW 10.5");
    // Refused: a beep, the box marked and the dialog open.
    dialog.txt_power[1]->selectAll();
    QTest::keyClicks(dialog.txt_power[1], "4x");
    dialog.Command2->click();
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(IsRefused(dialog.txt_power[1]) && dialog.isVisible());
    for (auto [box, typed] : {std::pair{0, "12.3"}, {1, "45"}}) {
        dialog.txt_power[box]->selectAll();
        QTest::keyClicks(dialog.txt_power[box], typed);
    }
    dialog.Command2->click();
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_NEAR(s.GraphLow, 0.0123, 1e-12);
    EXPECT_NEAR(s.GraphHigh, 0.045, 1e-12);
}
