#include "data/Units.h"
#include "power/frmSetupPower.h"
#include "state/AppState.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int Sec = 0, Min = 1, Hours = 2, Low = 0, High = 1;

class PowerSetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        App().BaseUnit = "W";
        BuildPowerUnits();
    }
    void TearDown() override { ResetAppState(); }

    void Open(double low, double high, bool runActive = false) {
        App().Config.Power.GraphLow = low;
        App().Config.Power.GraphHigh = high;
        dialog.SetupPowerGraph(runActive);
    }
    void Leave(QLineEdit* box) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }
    void Type(QLineEdit* box, const QString& text) {  // replacing the whole text
        box->selectAll();
        text.isEmpty() ? QTest::keyClick(box, Qt::Key_Backspace) : QTest::keyClicks(box, text);
    }
    void Paste(QLineEdit* box, const QString& text) {
        box->setText(text);
        emit box->textEdited(text);
    }
    const PowerSettings& Stored() { return App().Config.Power; }

    TempDir dir;  // kelvaro.cfg is written here
    ScriptedPrompts prompts;
    frmSetupPower dialog;
};

TEST_F(PowerSetupDialogTest, opensWithTheStoredSettingsAndOkWritesTheChoices) {
    App().BaseUnit = "Lx";
    BuildPowerUnits();
    PowerSettings& s = App().Config.Power;
    s.LogTime = 3725;
    s.GraphGrid = 2;
    s.StatMode = 1;
    s.DisplayMode = 1;
    s.GraphExponent = 1;
    Open(2, 8);  // 0.8 Lx in x 10: 200 .. 800 mLx
    EXPECT_EQ(dialog.logtime[Hours]->value() * 100 + dialog.logtime[Min]->value(), 102);
    EXPECT_EQ(dialog.txt_time[Sec]->text(), "5");
    EXPECT_TRUE(!dialog.Check2[1]->isChecked() && dialog.Check2[2]->isChecked());
    EXPECT_TRUE(dialog.chkStat[1]->isChecked() && !dialog.chkStat[2]->isChecked());
    EXPECT_TRUE(dialog.Option4[1]->isChecked());
    EXPECT_EQ(dialog.cmbPowerCoeff->currentText(), "x 10");
    EXPECT_EQ(dialog.cmbPowerUnits->count(), 6);
    EXPECT_EQ(dialog.cmbPowerUnits->currentText(), "mLx");
    EXPECT_EQ(dialog.txt_power[Low]->text() + " " + dialog.txt_power[High]->text(), "200 800");

    dialog.Check2[1]->setChecked(true);
    dialog.chkStat[1]->setChecked(false);
    dialog.chkStat[2]->setChecked(true);
    dialog.Option4[0]->setChecked(true);
    QSignalSpy applied(&dialog, &frmSetupPower::applied);
    dialog.Command2->click();
    EXPECT_EQ(applied.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(s.LogTime, 3725);
    EXPECT_EQ(s.GraphGrid, 3);
    EXPECT_EQ(s.StatMode, 2);
    EXPECT_EQ(s.DisplayMode, 0);
    EXPECT_DOUBLE_EQ(s.GraphLow, 2);
    EXPECT_DOUBLE_EQ(s.GraphHigh, 8);
    EXPECT_NE(dir.Read("kelvaro.cfg").indexOf("3725"), -1);
}

TEST_F(PowerSetupDialogTest, runningLogGreysOutOnlyTheLogTime) {
    for (bool running : {false, true}) {
        Open(0, 1, running);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(dialog.logtime[i]->isEnabled() && dialog.txt_time[i]->isEnabled(), !running);
        EXPECT_EQ(dialog.lblReminder->isHidden(), !running);
        EXPECT_EQ(dialog.SetupOpen(), running);
        EXPECT_TRUE(dialog.graph_limits[High]->isEnabled());
    }
    dialog.Command1->click();
    EXPECT_FALSE(dialog.SetupOpen());
}

TEST_F(PowerSetupDialogTest, twentyFourHoursIsTheLongestLogTime) {
    Open(0, 1);
    dialog.logtime[Min]->setValue(30);
    dialog.logtime[Hours]->setValue(24);
    EXPECT_EQ(dialog.txt_time[Min]->text(), "0");
    dialog.logtime[Min]->setValue(30);
    Paste(dialog.txt_time[Sec], "9");
    EXPECT_EQ(dialog.logtime[Min]->value() + dialog.logtime[Sec]->value(), 0);
    Paste(dialog.txt_time[Hours], "x");
    EXPECT_EQ(dialog.txt_time[Hours]->text(), "24");
    EXPECT_EQ(prompts.beeps, 1);
    dialog.Command2->click();
    EXPECT_EQ(Stored().LogTime, 86400);
}

TEST_F(PowerSetupDialogTest, limitBoxTakesThreeDigitsAndRefusesOtherText) {
    Open(0, 500);
    Type(dialog.txt_power[Low], "1000");
    EXPECT_EQ(dialog.txt_power[Low]->text(), "100");
    EXPECT_EQ(prompts.beeps, 1);
    Leave(dialog.txt_power[Low]);
    EXPECT_EQ(dialog.graph_limits[Low]->value(), 100);
    Type(dialog.txt_power[Low], "1e2");
    Leave(dialog.txt_power[Low]);
    EXPECT_EQ(prompts.beeps, 2);
    EXPECT_EQ(dialog.txt_power[Low]->text(), "100");
    Type(dialog.txt_power[Low], "");
    Leave(dialog.txt_power[Low]);
    EXPECT_EQ(dialog.txt_power[Low]->text(), "0");
    Type(dialog.txt_power[High], "250");  // OK takes a number still being typed
    dialog.Command2->click();
    EXPECT_DOUBLE_EQ(Stored().GraphHigh, 250);
}

TEST_F(PowerSetupDialogTest, highLimitNeverPassesThirtyKilowatts) {
    Open(0, 30000);  // opens in kW x 1
    dialog.graph_limits[High]->setValue(999);
    EXPECT_EQ(dialog.txt_power[High]->text(), "30");
    Open(0, 999);
    dialog.cmbPowerUnits->setCurrentIndex(5);
    EXPECT_EQ(dialog.cmbPowerUnits->currentText(), "W");
    dialog.cmbPowerCoeff->setCurrentIndex(2);
    EXPECT_EQ(dialog.cmbPowerCoeff->currentText(), "x 10");
    dialog.Command2->click();
    EXPECT_DOUBLE_EQ(Stored().GraphHigh, 9990);
    EXPECT_EQ(Stored().GraphExponent, 1);
}

TEST_F(PowerSetupDialogTest, cancelAndLosingTheFocusChangeNothing) {
    QWidget other;
    other.show();
    QSignalSpy applied(&dialog, &frmSetupPower::applied);
    QSignalSpy unloaded(&dialog, &frmSetupPower::unloaded);
    for (bool byFocus : {false, true}) {
        Open(0, 500, true);
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(dialog.isActiveWindow());
        dialog.graph_limits[High]->setValue(20);
        dialog.Option4[0]->setChecked(true);
        byFocus ? QApplication::setActiveWindow(&other) : dialog.Command1->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(dialog.SetupOpen());
    }
    EXPECT_DOUBLE_EQ(Stored().GraphHigh, 500);
    EXPECT_EQ(Stored().DisplayMode, PowerSettings{}.DisplayMode);
    EXPECT_EQ(applied.count(), 0);
    EXPECT_EQ(unloaded.count(), 2);
    EXPECT_TRUE(dir.Read("kelvaro.cfg").isEmpty());
}

TEST_F(PowerSetupDialogTest, screenshotDuringARun) {
    App().Config.Power.LogTime = 3725;
    Open(0.001, 0.5, true);
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "power_setup").isEmpty());
}

}  // namespace
