#include "energy/frmSetupEnergy.h"
#include "state/AppState.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>

// The rules themselves are pinned in EnergySetupRulesTest; this shows the
// dialog wiring them to its controls, to the settings and to kelvaro.cfg.
TEST(EnergySetupDialog, okWritesTheChoicesAndARunLeavesOnlyStatisticsAndDisplay) {
    ResetAppState();
    TempDir dir;  // kelvaro.cfg is written here
    ScriptedPrompts prompts;
    frmSetupEnergy dialog;
    EnergySettings& stored = App().Config.Energy;
    stored.EnergyLowLimit = 0.02;
    stored.EnergyHighLimit = 0.5;
    dialog.SetupEnergyHist(false, true);
    EXPECT_EQ(dialog.txt_energy[0]->text() + " " + dialog.txt_energy[1]->text(), "20 500");
    EXPECT_TRUE(dialog.optStorageStyle[0]->isHidden());
    dialog.histogram_limits[1]->setValue(50);
    dialog.histogram_limits[0]->setValue(50);
    dialog.bins_count->setValue(3);
    EXPECT_EQ(dialog.txt_bins->text(), "Count 15");
    dialog.storage_rate->setValue(4);
    EXPECT_EQ(dialog.txtStorageRate->text(), "One out of  10");
    dialog.optStorageStyle[1]->setChecked(true);
    dialog.chkStat[1]->setChecked(false);
    QSignalSpy applied(&dialog, &frmSetupEnergy::applied);
    dialog.Command2->click();
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(std::tuple(stored.EnergyLowLimit, stored.EnergyHighLimit, stored.EnergyBinsCount),
              std::tuple(0.049, 0.05, int16_t(15)));
    EXPECT_EQ(std::tuple(stored.EnergyStorageRate, stored.EnergyStorageStyle, stored.EnergyStatistics),
              std::tuple(int16_t(10), int16_t(2), int16_t(2)));
    EXPECT_NE(dir.Read("kelvaro.cfg").indexOf("0.049"), -1);

    dialog.SetupEnergyHist(true, false);
    for (QWidget* w :
         {(QWidget*)dialog.bins_count, (QWidget*)dialog.storage_rate, (QWidget*)dialog.chkTimeStamp})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(dialog.chkStat[2]->isEnabled() && dialog.optDisplayStyle[1]->isEnabled());
    EXPECT_FALSE(dialog.lblReminder->isHidden());
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "energy_setup").isEmpty());
    ResetAppState();
}
