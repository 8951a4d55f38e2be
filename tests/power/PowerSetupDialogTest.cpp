#include "app/AppState.h"
#include "data/Units.h"
#include "power/frmSetupPower.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int Sec = 0, Min = 1, Hours = 2;
constexpr int Low = 0, High = 1;

class PowerSetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        App().BaseUnit = "W";
        BuildPowerUnits();
    }
    void TearDown() override {
        dialog.hide();
        ResetAppState();
    }

    // Opens with limits in W x 1 (GraphHigh 500 W shows as W).
    void OpenInWatts(double low, double high, bool runActive = false) {
        App().Config.Power.GraphLow = low;
        App().Config.Power.GraphHigh = high;
        App().Config.Power.GraphExponent = 0;
        dialog.SetupPowerGraph(runActive);
    }
    void LeaveBox(QLineEdit* box) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }
    // Keys replacing the whole text, as the user types them.
    void Type(QLineEdit* box, const QString& text) {
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, text);
    }
    // The box's text changed by the user in one step (a paste).
    void Paste(QLineEdit* box, const QString& text) {
        box->setText(text);
        emit box->textEdited(text);
    }

    TempDir dir;  // kelvaro.cfg is written here
    ScriptedPrompts prompts;
    frmSetupPower dialog;
};

TEST_F(PowerSetupDialogTest, opensWithTheStoredSettings) {
    App().BaseUnit = "Lx";
    BuildPowerUnits();
    PowerSettings& s = App().Config.Power;
    s.LogTime = 3725;
    s.GraphGrid = 2;
    s.StatMode = 1;
    s.DisplayMode = 1;
    s.GraphExponent = 1;
    s.GraphLow = 2;
    s.GraphHigh = 8;  // 0.8 Lx in x 10: shown as 200 .. 800 mLx
    dialog.SetupPowerGraph(false);

    EXPECT_EQ(dialog.windowTitle(), "Power Graph Setup");
    EXPECT_EQ(dialog.logtime[Hours]->value(), 1);
    EXPECT_EQ(dialog.logtime[Min]->value(), 2);
    EXPECT_EQ(dialog.logtime[Sec]->value(), 5);
    EXPECT_EQ(dialog.txt_time[Sec]->text(), "5");
    EXPECT_FALSE(dialog.Check2[1]->isChecked());
    EXPECT_TRUE(dialog.Check2[2]->isChecked());
    EXPECT_TRUE(dialog.chkStat[1]->isChecked());
    EXPECT_FALSE(dialog.chkStat[2]->isChecked());
    EXPECT_TRUE(dialog.Option4[1]->isChecked());
    EXPECT_EQ(dialog.cmbPowerCoeff->currentText(), "x 10");
    ASSERT_EQ(dialog.cmbPowerUnits->count(), 6);
    EXPECT_EQ(dialog.cmbPowerUnits->itemText(0), "pLx");
    EXPECT_EQ(dialog.cmbPowerUnits->itemText(5), "kLx");
    EXPECT_EQ(dialog.cmbPowerUnits->currentText(), "mLx");
    EXPECT_EQ(dialog.graph_limits[Low]->value(), 200);
    EXPECT_EQ(dialog.graph_limits[High]->value(), 800);
    EXPECT_EQ(dialog.txt_power[High]->text(), "800");

    // Unchanged settings come back unchanged.
    dialog.Command2->click();
    EXPECT_EQ(s.LogTime, 3725);
    EXPECT_EQ(s.GraphGrid, 2);
    EXPECT_EQ(s.StatMode, 1);
    EXPECT_EQ(s.DisplayMode, 1);
    EXPECT_EQ(s.GraphExponent, 1);
    EXPECT_DOUBLE_EQ(s.GraphLow, 2);
    EXPECT_DOUBLE_EQ(s.GraphHigh, 8);
}

TEST_F(PowerSetupDialogTest, runningLogGreysOutTheLogTime) {
    for (bool running : {false, true}) {
        OpenInWatts(0, 1, running);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(dialog.logtime[i]->isEnabled(), !running);
            EXPECT_EQ(dialog.txt_time[i]->isEnabled(), !running);
        }
        EXPECT_EQ(dialog.lblReminder->isHidden(), !running);
        EXPECT_EQ(dialog.SetupOpen(), running);
        EXPECT_TRUE(dialog.Check2[1]->isEnabled());
    }
    dialog.Command1->click();
    EXPECT_FALSE(dialog.SetupOpen());
}

TEST_F(PowerSetupDialogTest, twentyFourHoursIsTheLongestLogTime) {
    OpenInWatts(0, 1);
    dialog.logtime[Min]->setValue(30);
    dialog.logtime[Sec]->setValue(10);
    dialog.logtime[Hours]->setValue(24);
    EXPECT_EQ(dialog.logtime[Min]->value(), 0);
    EXPECT_EQ(dialog.logtime[Sec]->value(), 0);
    EXPECT_EQ(dialog.txt_time[Min]->text(), "0");
    dialog.logtime[Min]->setValue(30);  // nothing goes on top of a day
    Paste(dialog.txt_time[Sec], "9");
    EXPECT_EQ(dialog.logtime[Min]->value(), 0);
    EXPECT_EQ(dialog.logtime[Sec]->value(), 0);
    dialog.Command2->click();
    EXPECT_EQ(App().Config.Power.LogTime, 86400);
}

TEST_F(PowerSetupDialogTest, typedTimeMovesItsBarAndBadTextIsRefused) {
    OpenInWatts(0, 1);
    struct Case {
        int index;
        const char* typed;
        int bar;
        const char* shown;
        int beeps;
    } cases[] = {
        {Sec, "45", 45, "45", 0}, {Min, "7", 7, "7", 0},   {Hours, "3", 3, "3", 0},
        {Sec, "60", 45, "45", 1}, {Min, "x", 7, "7", 1},   {Hours, "123", 3, "3", 1},
        {Sec, "", 0, "", 0},
    };
    for (const auto& c : cases) {
        prompts.beeps = 0;
        Paste(dialog.txt_time[c.index], c.typed);
        EXPECT_EQ(dialog.logtime[c.index]->value(), c.bar) << c.typed;
        EXPECT_EQ(dialog.txt_time[c.index]->text(), c.shown) << c.typed;
        EXPECT_EQ(prompts.beeps, c.beeps) << c.typed;
    }
    dialog.Command2->click();
    EXPECT_EQ(App().Config.Power.LogTime, 3 * 3600 + 7 * 60);
}

TEST_F(PowerSetupDialogTest, limitBoxTakesThreeDigitsAndRefusesOtherText) {
    OpenInWatts(0, 500);
    Type(dialog.txt_power[Low], "1000");
    EXPECT_EQ(dialog.txt_power[Low]->text(), "100");
    EXPECT_EQ(prompts.beeps, 1);
    LeaveBox(dialog.txt_power[Low]);
    EXPECT_EQ(dialog.graph_limits[Low]->value(), 100);

    Type(dialog.txt_power[Low], "1e2");
    LeaveBox(dialog.txt_power[Low]);
    EXPECT_EQ(prompts.beeps, 2);
    EXPECT_EQ(dialog.txt_power[Low]->text(), "100");
    EXPECT_EQ(dialog.graph_limits[Low]->value(), 100);

    Type(dialog.txt_power[Low], "");
    LeaveBox(dialog.txt_power[Low]);
    EXPECT_EQ(dialog.txt_power[Low]->text(), "0");

    // OK takes a number still being typed.
    Type(dialog.txt_power[High], "250");
    dialog.Command2->click();
    EXPECT_DOUBLE_EQ(App().Config.Power.GraphHigh, 250);
}

TEST_F(PowerSetupDialogTest, highLimitNeverPassesThirtyKilowatts) {
    OpenInWatts(0, 30000);  // 30 kW: opens in kW x 1
    ASSERT_EQ(dialog.cmbPowerUnits->currentText(), "kW");
    dialog.graph_limits[High]->setValue(999);
    EXPECT_EQ(dialog.graph_limits[High]->value(), 30);
    EXPECT_EQ(dialog.txt_power[High]->text(), "30");

    OpenInWatts(0, 999);  // 999 W
    dialog.cmbPowerUnits->setCurrentIndex(5);
    EXPECT_EQ(dialog.cmbPowerUnits->currentText(), "W");
    dialog.cmbPowerCoeff->setCurrentIndex(2);  // 99.9 kW
    EXPECT_EQ(dialog.cmbPowerCoeff->currentText(), "x 10");
    dialog.Command2->click();
    EXPECT_DOUBLE_EQ(App().Config.Power.GraphHigh, 9990);
    EXPECT_EQ(App().Config.Power.GraphExponent, 1);
}

TEST_F(PowerSetupDialogTest, okOrdersTheLimitsAndStoresThemInTheBaseUnit) {
    struct Case {
        int unit, coefficient, low, high;
        double graphLow, graphHigh;
    } cases[] = {
        {4, 0, 50, 20, 19, 20},      // W x 1
        {4, 0, 5, 0, 0, 1},
        {3, 1, 5, 100, 0.05, 1.0},   // mW x 10
        {5, 0, 2, 30, 2000, 30000},  // kW x 1
    };
    for (const auto& c : cases) {
        OpenInWatts(0, 1);
        QSignalSpy applied(&dialog, &frmSetupPower::applied);
        dialog.cmbPowerUnits->setCurrentIndex(c.unit);
        dialog.cmbPowerCoeff->setCurrentIndex(c.coefficient);
        dialog.graph_limits[High]->setValue(c.high);  // High first: moving Low does not push it
        dialog.graph_limits[Low]->setValue(c.low);
        dialog.Command2->click();
        EXPECT_DOUBLE_EQ(App().Config.Power.GraphLow, c.graphLow) << c.low << "/" << c.high;
        EXPECT_DOUBLE_EQ(App().Config.Power.GraphHigh, c.graphHigh) << c.low << "/" << c.high;
        EXPECT_EQ(applied.count(), 1);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_NE(dir.Read("kelvaro.cfg").indexOf("30000"), -1);
}

TEST_F(PowerSetupDialogTest, movingHighBelowLowKeepsItOneAbove) {
    OpenInWatts(40, 500);
    dialog.graph_limits[High]->setValue(10);
    EXPECT_EQ(dialog.graph_limits[High]->value(), 41);
}

TEST_F(PowerSetupDialogTest, cancelChangesNothing) {
    OpenInWatts(0, 500);
    QSignalSpy applied(&dialog, &frmSetupPower::applied);
    QSignalSpy unloaded(&dialog, &frmSetupPower::unloaded);
    dialog.graph_limits[High]->setValue(20);
    dialog.logtime[Hours]->setValue(5);
    dialog.Check2[1]->setChecked(false);
    dialog.Option4[0]->setChecked(true);
    dialog.Command1->click();
    const PowerSettings defaults;
    EXPECT_DOUBLE_EQ(App().Config.Power.GraphHigh, 500);
    EXPECT_EQ(App().Config.Power.LogTime, defaults.LogTime);
    EXPECT_EQ(App().Config.Power.GraphGrid, defaults.GraphGrid);
    EXPECT_EQ(App().Config.Power.DisplayMode, defaults.DisplayMode);
    EXPECT_EQ(applied.count(), 0);
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(QFile::exists(dir.Path("kelvaro.cfg")));
}

TEST_F(PowerSetupDialogTest, checkBoxesAndOptionsBecomeTheModes) {
    OpenInWatts(0, 1);
    dialog.Check2[1]->setChecked(false);
    dialog.Check2[2]->setChecked(true);
    dialog.chkStat[1]->setChecked(true);
    dialog.chkStat[2]->setChecked(false);
    dialog.Option4[0]->setChecked(true);
    dialog.Command2->click();
    EXPECT_EQ(App().Config.Power.GraphGrid, 2);
    EXPECT_EQ(App().Config.Power.StatMode, 1);
    EXPECT_EQ(App().Config.Power.DisplayMode, 0);
}

TEST_F(PowerSetupDialogTest, screenshotDuringARun) {
    App().Config.Power.LogTime = 3725;
    OpenInWatts(0.001, 0.5, true);
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "power_setup").isEmpty());
}

}  // namespace
