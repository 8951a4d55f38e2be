#include "EnergyHarness.h"

#include "auxiliary/frmNotes.h"
#include "energy/frmEnergy.h"
#include "energy/frmSetupEnergy.h"
#include "platform/SurfaceWidget.h"
#include "support/Screenshot.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <random>

class EnergyWindowTest : public EnergyTest {
protected:
    void SetUp() override {
        EnergyTest::SetUp();
        EnergySettings& cfg = App().Config.Energy;
        cfg.EnergyHighLimit = 0.01;
        cfg.EnergyBinsCount = 20;
        cfg.EnergyInitialSize = 50;
        w.resize(860, 560);
        w.show();
    }
    void TearDown() override {
        SetupEnergy().hide();
        EnergyTest::TearDown();
    }
    void EnterWindow(int16_t mode, const QString& command) {
        App().ActiveMode = mode;
        StartMeasurement(true, command);
        w.StartEnergy();
    }
    // A laser of 5 mJ with 15 % spread, a pulse every 0.05 s, a few over range.
    void Pulses(int n, double scale = 1.0) {
        QTest::mouseClick(w.butStartStop, Qt::LeftButton);
        Feed("*");
        std::mt19937 rng(7);
        std::normal_distribution<double> spread(5e-3, 0.75e-3);
        for (int i = 1; i <= n; ++i) {
            clock.Advance(0.05);
            for (int k = 0; k < 2 && w.Engine.PollState != 3; ++k) Feed("*1");  // ready, new pulse
            Feed(i % 97 == 0 ? QStringLiteral("*OVER") : "*" + QString::number(spread(rng) * scale, 'E', 3));
        }
    }
    void Feed(const QString& text) {
        QString line = text + QLatin1Char('\r');
        w.EnergyLog(0, line);
    }
    int BarPixels() const {
        const QImage& image = w.Picture1->Surface().Image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() > 200 &&
                     image.pixelColor(x, y).blue() < 100;
        return n;
    }
    frmEnergy w;
};

TEST_F(EnergyWindowTest, histogramStyleMidRunShowsReadoutStatisticsAndBars) {
    UseMeter(sim::Model::Talon, 2);
    EnterWindow(ModeEnergy, "FE");
    Pulses(600);
    EXPECT_TRUE(w.windowTitle().startsWith("Real-Time Energy Logging - Pyroelectric head: PE25"));
    EXPECT_TRUE(w.lblEnergy->text().endsWith("mJ"));
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);  // Stop shows the latest statistics
    EXPECT_EQ(w.lblPulsesEnergy->text(), "Pulses:  600");
    EXPECT_EQ(w.lblPulsesOverranged->text(), "Overranged:  6");
    EXPECT_FALSE(w.lblReady->isVisible());  // pyroelectric heads need no settling
    EXPECT_GT(BarPixels(), 2000);
    EXPECT_FALSE(SaveScreenshot(&w, "energy_window").isEmpty());
    w.resize(700, 460);  // a new size redraws the bars
    QApplication::processEvents();
    EXPECT_GT(BarPixels(), 1000);

    // The printed page.
    Notes().txtboxNotes->setPlainText("Pulse energies of the 1064 nm laser at 20 Hz, after the new mirror.");
    EXPECT_EQ(PrintToScreenshots("energy_print", [this] { w.EnergyPrint(); }), 1);
}

TEST_F(EnergyWindowTest, numericStyleHidesTheHistogramAndTheReadyLampFollowsTheHead) {
    App().Config.Energy.EnergyDisplayStyle = 1;
    UseMeter(sim::Model::Talon2, 1);
    EnterWindow(ModeEnergy, "FE");
    w.form_Resize();
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    EXPECT_TRUE(w.lblReady->isVisible());
    // Green when the head is ready, grey again once the pulse is fetched.
    for (auto [reply, green] : {std::pair{"*0", false}, {"*1", true}, {"*1", false}, {"*4.321E-3", false}}) {
        Feed(reply);
        EXPECT_EQ(w.Engine.ReadyGreen, green) << reply;
    }
    EXPECT_FALSE(w.Picture1->isVisible());
    EXPECT_EQ(w.lblEnergy->text(), "4.321mJ");
    EXPECT_GT(w.lblEnergy->font().pointSizeF(), 40);
    EXPECT_FALSE(SaveScreenshot(&w, "energy_window_numeric").isEmpty());
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    EXPECT_FALSE(w.lblReady->isVisible());
}

TEST_F(EnergyWindowTest, relativeRapidPulseRunLabelsInRpUnits) {
    App().RapidPulseAbsolute = false;
    App().Config.Energy.EnergyHighLimit = 1;
    UseMeter(sim::Model::MeridelOne, 5);
    EnterWindow(ModeRapidPulse, "FE R");
    Pulses(400, 100);
    EXPECT_TRUE(w.windowTitle().startsWith("Real-Time Rapid Pulse Relative Logging - Rapid Pulse head"));
    EXPECT_TRUE(w.lblEnergy->text().endsWith("m")) << w.lblEnergy->text().toStdString();
    EXPECT_FALSE(SaveScreenshot(&w, "energy_rapid_relative").isEmpty());
}
