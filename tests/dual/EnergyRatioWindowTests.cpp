#include "dual/EnergyRatioHarness.h"
#include "dual/EnergyRatioSetupDialog.h"
#include "dual/EnergyRatioWindow.h"
#include "support/Screenshot.h"
#include "widgets/SurfaceWidget.h"

#include <QTest>
#include <QtWidgets>
#include <random>

class EnergyRatioWindowTest : public EnergyRatioTest {
protected:
    void SetUp() override {
        EnergyRatioTest::SetUp();
        EnergyRatioSettings& cfg = CurrentSettings().EnergyRatio;
        std::tie(cfg.RatioEnergyHigh, cfg.RatioHighLimit, cfg.RatioLimitExponent) = std::tuple(0.01, 2.0, 0);
        w.resize(860, 560);
        w.show();
        QString none;
        w.EnergyRatioLog(-1, none);
    }
    void TearDown() override {
        SetupEnergyRatio().hide();
        EnergyRatioTest::TearDown();
    }
    void Feed(QString line) { w.EnergyRatioLog(0, line += QLatin1Char('\r')); }
    EnergyRatioWindow w;
};

// Channel A 5 mJ with 15 % spread, channel B near 0.8 of A, every tenth pair in two half replies.
TEST_F(EnergyRatioWindowTest, scatterChartMidRunWithReadoutStatisticsAndPrintedPage) {
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    Feed("*N N");
    std::mt19937 rng(7);
    std::normal_distribution<double> a(5e-3, 0.75e-3), k(0.8, 0.05);
    for (int i = 1; i <= 400; ++i) {
        clock.Advance(0.05);
        const double ea = a(rng);
        const QString textA = QString::number(ea, 'E', 3), textB = QString::number(ea * k(rng), 'E', 3);
        if (i % 10 == 0) Feed("*" + textA + " N");
        Feed("*" + (i % 10 == 0 ? QString("N") : textA) + " " + textB);
    }
    EXPECT_EQ(w.windowTitle(), "Real-Time Energy Ratio Logging - A: PE25; s/n4711  B: PE10; s/n815");
    EXPECT_GT(YellowPixels(w.Picture1->Surface().Image()), 300);
    EXPECT_FALSE(w.lblEnergyRatio->text().isEmpty());
    EXPECT_FALSE(SaveScreenshot(&w, "energy_ratio_window").isEmpty());
    w.cmbRatioMode->setCurrentIndex(1);  // B/A (its replay: the engine's direction test)
    EXPECT_EQ(w.Engine.RatioMode, 1);
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    QTest::mouseClick(w.butNormalize, Qt::LeftButton);
    EXPECT_EQ(w.butNormalize->text(), "DeNormalize");
    EXPECT_TRUE(w.lblAvrRatioPower->isVisible());

    Notes().txtboxNotes->setPlainText("Beam splitter ratio of the 1064 nm laser at 20 Hz.");
    EXPECT_EQ(PrintToScreenshots("energy_ratio_print", [this] { w.EnergyRatioPrint(); }), 1);
    PrintToScreenshots("energy_ratio_print_again", [this] { w.EnergyRatioPrint(); });  // the same page
    EXPECT_EQ(PrintedPage("energy_ratio_print_again"), PrintedPage("energy_ratio_print"));
    prompts.answers = {platform::Answer::Cancel};  // closed unsaved: Cancel keeps the window and its run
    w.close();
    EXPECT_EQ(std::pair(w.isVisible(), prompts.questions.size()), std::pair(true, size_t(1)));
    QString none;  // the mode left and entered again: the chart starts empty
    w.EnergyRatioLog(1, none);
    w.EnergyRatioLog(-1, none);
    EXPECT_EQ(YellowPixels(w.Picture1->Surface().Image()), 0);
}

TEST_F(EnergyRatioWindowTest, setupShowsStoredLimitsAndOkWritesRatioEnergyGridAndStorage) {
    EnergyRatioSettings& s = CurrentSettings().EnergyRatio;
    std::tie(s.RatioLowLimit, s.RatioHighLimit, s.RatioLimitExponent) = std::tuple(0.002, 0.005, -3);
    std::tie(s.RatioEnergyLow, s.RatioEnergyHigh, s.RatioDisplayStyle) = std::tuple(0.02, 0.5, 1);
    EnergyRatioSetupDialog& dialog = SetupEnergyRatio();
    dialog.SetupEnergyRatio(false);
    EXPECT_TRUE(dialog.optDisplayStyle[1]->isChecked());
    EXPECT_EQ(dialog.txt_ratio[0]->text() + " " + dialog.txt_ratio[1]->text() + " " + dialog.txt_exp->text(),
              "2 5 -3");
    EXPECT_EQ(dialog.txt_energy[0]->text() + " " + dialog.txt_energy[1]->text(), "20 500");
    EXPECT_FALSE(SaveScreenshot(&dialog, "energy_ratio_setup").isEmpty());
    dialog.txt_exp->setText("x");  // no number: the bar's value again on leaving
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(dialog.txt_exp, &out);
    EXPECT_EQ(dialog.txt_exp->text(), "-3");
    dialog.ratio_limits[1]->setValue(0);  // raised to 1
    EXPECT_EQ(dialog.txt_ratio[1]->text(), "1");
    dialog.ratio_limits[1]->setValue(5);
    dialog.ratio_limits[0]->setValue(7);  // crossed: OK puts Low one below High
    dialog.ratio_exp->setValue(-2);
    EXPECT_EQ(dialog.txt_exp->text(), "-2");
    dialog.energy_limits[0]->setValue(50);
    dialog.energy_limits[1]->setValue(50);
    dialog.Check2[1]->setChecked(false);
    dialog.optDisplayStyle[2]->setChecked(true);
    dialog.storage_rate->setValue(4);
    dialog.Command2->click();  // its signal and the saved file: shown with the energy setup
    EXPECT_EQ(std::tuple(s.RatioLowLimit, s.RatioHighLimit, s.RatioEnergyLow, s.RatioEnergyHigh),
              std::tuple(0.04, 0.05, 0.049, 0.05));
    EXPECT_EQ(std::tuple(s.RatioGridStyle, s.RatioDisplayStyle, s.RatioStorageRate),
              std::tuple(int16_t(2), int16_t(2), int16_t(10)));
}
