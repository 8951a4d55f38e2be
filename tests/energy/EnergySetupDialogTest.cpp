#include "energy/frmSetupEnergy.h"
#include "state/AppState.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

constexpr int Left = 0, Right = 1;

class EnergySetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAppState(); }
    void TearDown() override { ResetAppState(); }

    EnergySettings& Stored() { return App().Config.Energy; }
    // Every control that shapes stored data or the histogram.
    std::vector<QWidget*> Shaping() {
        return {dialog.bin_size,
                dialog.bins_count,
                dialog.histogram_limits[Left],
                dialog.histogram_limits[Right],
                dialog.txt_energy[Left],
                dialog.txt_energy[Right],
                dialog.cmbEnergyCoeff,
                dialog.cmbEnergyUnits,
                dialog.optStorageMode[0],
                dialog.optStorageMode[1],
                dialog.storage_rate,
                dialog.optStorageStyle[0],
                dialog.optStorageStyle[1],
                dialog.chkTimeStamp};
    }

    TempDir dir;  // kelvaro.cfg is written here
    ScriptedPrompts prompts;
    frmSetupEnergy dialog;
};

TEST_F(EnergySetupDialogTest, okWritesTheChoicesAndSavesThem) {
    Stored().EnergyLowLimit = 0.02;
    Stored().EnergyHighLimit = 0.5;
    dialog.SetupEnergyHist(false, true);
    EXPECT_EQ(dialog.cmbEnergyUnits->currentText(), "m");
    EXPECT_EQ(dialog.txt_energy[Left]->text() + " " + dialog.txt_energy[Right]->text(), "20 500");
    EXPECT_EQ(dialog.txtStorageRate->text(), "Store All Readings");
    EXPECT_TRUE(dialog.optStorageStyle[0]->isHidden());

    dialog.histogram_limits[Right]->setValue(50);
    dialog.histogram_limits[Left]->setValue(50);
    dialog.bins_count->setValue(3);
    EXPECT_EQ(dialog.txt_bins->text(), "Count 15");
    dialog.bin_size->setValue(7);
    dialog.storage_rate->setValue(4);
    EXPECT_EQ(dialog.txtStorageRate->text(), "One out of  10");
    EXPECT_FALSE(dialog.optStorageStyle[1]->isHidden());
    dialog.optStorageStyle[1]->setChecked(true);
    dialog.optStorageMode[1]->setChecked(true);
    dialog.chkTimeStamp->setChecked(true);
    dialog.chkStat[1]->setChecked(false);
    dialog.optDisplayStyle[1]->setChecked(true);

    QSignalSpy applied(&dialog, &frmSetupEnergy::applied);
    dialog.Command2->click();
    EXPECT_EQ(applied.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Stored().EnergyLowLimit, 0.049);
    EXPECT_EQ(Stored().EnergyHighLimit, 0.05);
    EXPECT_EQ(Stored().EnergyBinsCount, 15);
    EXPECT_EQ(Stored().EnergyInitialSize, 200);
    EXPECT_EQ(Stored().EnergyStorageRate, 10);
    EXPECT_EQ(Stored().EnergyStorageStyle, 2);
    EXPECT_EQ(Stored().EnergyStorageMode, 1);
    EXPECT_TRUE(Stored().EnergyTimeStamp);
    EXPECT_EQ(Stored().EnergyStatistics, 2);
    EXPECT_EQ(Stored().EnergyDisplayStyle, 1);
    EXPECT_NE(dir.Read("kelvaro.cfg").indexOf("0.049"), -1);
}

TEST_F(EnergySetupDialogTest, initialisedRunLeavesOnlyStatisticsAndDisplay) {
    for (bool running : {false, true}) {
        dialog.SetupEnergyHist(running, false);
        for (QWidget* w : Shaping()) EXPECT_EQ(w->isEnabled(), !running) << w->objectName().toStdString();
        EXPECT_TRUE(dialog.chkStat[2]->isEnabled() && dialog.optDisplayStyle[1]->isEnabled());
        EXPECT_EQ(dialog.lblReminder->isHidden(), !running);
        EXPECT_EQ(dialog.SetupOpen(), running);
    }
    const EnergySettings before = Stored();
    dialog.chkStat[1]->setChecked(false);
    dialog.Command2->click();
    EXPECT_FALSE(dialog.SetupOpen());
    EXPECT_EQ(Stored().EnergyStatistics, 2);
    EXPECT_EQ(Stored().EnergyHighLimit, before.EnergyHighLimit);
    EXPECT_EQ(Stored().EnergyBinsCount, before.EnergyBinsCount);
}

TEST_F(EnergySetupDialogTest, losingTheFocusCancels) {
    QWidget other;
    other.show();
    QSignalSpy applied(&dialog, &frmSetupEnergy::applied);
    QSignalSpy unloaded(&dialog, &frmSetupEnergy::unloaded);
    dialog.SetupEnergyHist(true, false);
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(dialog.isActiveWindow());
    dialog.chkStat[1]->setChecked(false);
    QApplication::setActiveWindow(&other);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.SetupOpen());
    EXPECT_EQ(Stored().EnergyStatistics, EnergySettings{}.EnergyStatistics);
    EXPECT_EQ(applied.count(), 0);
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_TRUE(dir.Read("kelvaro.cfg").isEmpty());
}

TEST_F(EnergySetupDialogTest, screenshotDuringARun) {
    Stored().EnergyHighLimit = 0.5;
    Stored().EnergyStorageRate = 10;
    dialog.SetupEnergyHist(true, false);
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "energy_setup").isEmpty());
}

}  // namespace
