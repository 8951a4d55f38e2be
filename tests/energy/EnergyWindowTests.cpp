#include "EnergyHarness.h"

#include "energy/EnergySetupDialog.h"
#include "energy/EnergyWindow.h"
#include "support/Screenshot.h"
#include "support/StabilityCell.h"
#include "widgets/SurfaceWidget.h"

#include <QSignalSpy>
#include <QTest>
#include <QtWidgets>
#include <cmath>
#include <random>

class EnergyWindowTest : public EnergyTest {
protected:
    void SetUp() override {
        EnergyTest::SetUp();
        EnergySettings& cfg = CurrentSettings().Energy;
        std::tie(cfg.EnergyHighLimit, cfg.EnergyBinsCount, cfg.EnergyInitialSize) = std::tuple(0.01, 20, 50);
        w.resize(860, 560);
        w.show();
    }
    // A laser of 5 mJ with 15 % spread, a pulse every 0.05 s, a few over range.
    void Pulses(int n, double scale = 1.0) {
        QTest::mouseClick(w.butStartStop, Qt::LeftButton);
        Feed("*");
        std::mt19937 rng(7);
        std::normal_distribution<double> spread(5e-3, 0.75e-3);
        for (int i = 1; i <= n; ++i)
            Pulse(i % 97 == 0 ? QStringLiteral("*OVER") : "*" + QString::number(spread(rng) * scale, 'E', 3));
    }
    void Pulse(const QString& reading) {
        clock.Advance(0.05);
        for (int k = 0; k < 2 && w.Engine.PollState != 3; ++k) Feed("*1");  // ready, new pulse
        Feed(reading);
    }
    void Feed(QString line) { w.EnergyLog(0, line += QLatin1Char('\r')); }
    EnergyWindow w;
};

TEST_F(EnergyWindowTest, histogramStyleMidRunShowsReadoutStatisticsAndBars) {
    UseMeter(sim::Model::Talon, 2);
    Enter(ModeEnergy, "FE", &w.Engine);
    Pulses(600);
    EXPECT_TRUE(w.windowTitle().startsWith("Real-Time Energy Logging - Pyroelectric head: PE25"));
    EXPECT_FALSE(w.lblReady->isVisible());              // pyroelectric heads need no settling
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);  // Stop shows the latest statistics
    EXPECT_EQ(w.lblPulsesEnergy->text() + "|" + w.lblPulsesOverranged->text(), "Pulses:  600|Overranged:  6");
    EXPECT_GT(YellowPixels(w.Picture1->Surface().Image()), 2000);
    EXPECT_FALSE(SaveScreenshot(&w, "energy_window").isEmpty());
    w.resize(700, 460);  // a new size redraws the bars
    QApplication::processEvents();
    EXPECT_GT(YellowPixels(w.Picture1->Surface().Image()), 1000);

    Notes().txtboxNotes->setPlainText("Pulse energies of the 1064 nm laser at 20 Hz, after the new mirror.");
    EXPECT_EQ(PrintToScreenshots("energy_print", [this] { w.EnergyPrint(); }), 1);
    EXPECT_TRUE(PrintedText("energy_print").contains("Real-Time Energy Logging"));
    EXPECT_EQ(YellowPixels(PrintedPage("energy_print")), 0) << "yellow all but vanishes on paper";
    prompts.answers = {platform::Answer::Cancel};  // closed unsaved: Cancel keeps the window and its run
    w.close();
    EXPECT_EQ(std::pair(w.isVisible(), prompts.questions.size()), std::pair(true, size_t(1)));
}

TEST_F(EnergyWindowTest, numericStyleHidesTheHistogramAndTheReadyLampFollowsTheHead) {
    CurrentSettings().Energy.EnergyDisplayStyle = 1;
    UseMeter(sim::Model::Talon2, 1);
    Enter(ModeEnergy, "FE", &w.Engine);
    w.form_Resize();
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    EXPECT_TRUE(w.lblReady->isVisible());
    // Green when the head is ready, grey again once the pulse is fetched.
    for (auto [reply, green] : {std::pair{"*0", false}, {"*1", true}, {"*1", false}, {"*4.321E-3", false}}) {
        Feed(reply);
        EXPECT_EQ(w.Engine.Display.ReadyGreen, green) << reply;
    }
    EXPECT_EQ(std::pair(w.Picture1->isVisible(), w.lblEnergy->text()), std::pair(false, QString("4.321mJ")));
    EXPECT_GT(w.lblEnergy->font().pointSizeF(), 40);
    EXPECT_FALSE(SaveScreenshot(&w, "energy_window_numeric").isEmpty());
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    EXPECT_FALSE(w.lblReady->isVisible());
}

TEST_F(EnergyWindowTest, relativeRapidPulseRunsInRpUnitsAndLeavingRestoresJoules) {
    App().RapidPulseAbsolute = false;
    CurrentSettings().Energy.EnergyHighLimit = 1;
    CurrentSettings().Energy.EnergyStatistics = 1;
    UseMeter(sim::Model::MeridelOne, 5);
    Enter(ModeRapidPulse, "FE R", &w.Engine);
    EXPECT_TRUE(w.Engine.HeaderLine().startsWith("Energy, in RP-Units \t Head: "));
    Pulses(400, 100);
    EXPECT_TRUE(w.windowTitle().startsWith("Real-Time Rapid Pulse Relative Logging - Rapid Pulse head"));
    EXPECT_FALSE(SaveScreenshot(&w, "energy_rapid_relative").isEmpty());
    clock.Advance(0.95);
    Pulse("*1.234E-2");
    EXPECT_EQ(w.lblEnergy->text() + "|" + w.Engine.Display.StatLabels[0], "12.34m|Min:  12.34m");
    EXPECT_EQ(w.Engine.Display.StatVisible, (std::array<bool, 6>{true, true, false, false, false, false}));
    QString none;
    w.EnergyLog(1, none);
    EXPECT_FALSE(w.Engine.RelativeUnits);
    App().RapidPulseAbsolute = true;
    Enter(ModeRapidPulse, "FE A", &w.Engine);
    EXPECT_EQ(w.Engine.Display.Caption, "Real-Time Rapid Pulse Absolute Logging");
}

// 1, 2, (over range), 3, 4 mJ: mean 2.5 mJ, sigma root(5/3) mJ.
TEST_F(EnergyWindowTest, stabilityFiguresCoverThePulsesOfTheRunSoFar) {
    UseMeter(sim::Model::Talon, 2);
    Enter(ModeEnergy, "FE", &w.Engine);
    Pulses(0);  // started, no pulse yet
    for (const char* r : {"*1.000E-03", "*2.000E-03", "*OVER", "*3.000E-03", "*4.000E-03"}) Pulse(r);
    QTest::mouseClick(w.findChild<QPushButton*>("butStability"), Qt::LeftButton);
    auto* s = w.findChild<StabilityWindow*>("StabilityWindow");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(std::pair(Cell(*s, "Pulses"), Cell(*s, "Over range")), std::pair(4.0, 1.0));
    EXPECT_NEAR(2.5e-3, Cell(*s, "Mean"), 1e-9);
    EXPECT_NEAR(std::sqrt(5.0 / 3) / 2.5 * 100, Cell(*s, "Pulse-to-pulse RSD"), 1e-4);
    EXPECT_EQ(120, Cell(*s, "Peak-to-peak"));
    EXPECT_FALSE(s->Picture1->isVisibleTo(s));  // no Allan deviation for pulses
}

// The dialog wiring the rules (EnergySetupRulesTest) to its controls, the settings and kelvaro.cfg.
TEST(PulseSetupDialog, okWritesTheChoicesAndARunLeavesOnlyStatisticsAndDisplay) {
    TempDir dir;  // kelvaro.cfg is written here
    ProgramStateScope fresh;
    ScriptedPrompts prompts;
    EnergySetupDialog dialog;
    EnergySettings& stored = CurrentSettings().Energy;
    std::tie(stored.EnergyLowLimit, stored.EnergyHighLimit) = std::pair(0.02, 0.5);
    dialog.SetupEnergyHist(false, true);
    dialog.show();  // hiding Average and Sample at rate 1 keeps the frames in place
    const QPoint frames = dialog.chkTimeStamp->mapTo(&dialog, QPoint());
    EXPECT_EQ(dialog.txt_energy[0]->text() + " " + dialog.txt_energy[1]->text(), "20 500");
    dialog.histogram_limits[1]->setValue(50);
    dialog.histogram_limits[0]->setValue(50);
    dialog.bins_count->setValue(3);
    EXPECT_EQ(dialog.txt_bins->text(), "Count 15");
    dialog.storage_rate->setValue(4);
    EXPECT_EQ(dialog.txtStorageRate->text(), "One out of  10");
    dialog.optStorageStyle[1]->setChecked(true);
    dialog.optStorageMode[1]->setChecked(true);
    dialog.chkTimeStamp->setChecked(true);
    dialog.chkStat[1]->setChecked(false);
    QApplication::processEvents();
    EXPECT_EQ(dialog.chkTimeStamp->mapTo(&dialog, QPoint()), frames);
    QSignalSpy applied(&dialog, &EnergySetupDialog::applied);
    dialog.Command2->click();
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(std::tuple(stored.EnergyLowLimit, stored.EnergyHighLimit, stored.EnergyBinsCount,
                         stored.EnergyStorageRate, stored.EnergyStorageStyle, stored.EnergyStatistics,
                         stored.EnergyStorageMode, stored.EnergyTimeStamp),
              std::tuple(0.049, 0.05, int16_t(15), int16_t(10), int16_t(2), int16_t(2), int16_t(1), true));
    EXPECT_NE(dir.Read("kelvaro.cfg").indexOf("0.049"), -1);
    dialog.SetupEnergyHist(false, true);
    dialog.txt_energy[1]->setText("60");  // still in the box at OK
    dialog.Command2->click();
    EXPECT_EQ(stored.EnergyHighLimit, 0.06);

    dialog.SetupEnergyHist(true, false);
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "energy_setup").isEmpty());
}
