#include "PowerHarness.h"

#include "power/PowerSetupDialog.h"
#include "power/PowerWindow.h"
#include "support/RecordingSurface.h"
#include "support/Screenshot.h"
#include "support/StabilityCell.h"
#include "widgets/LinkWaitGuard.h"
#include "widgets/SurfaceWidget.h"

#include <QTest>
#include <QtWidgets>
#include <cmath>
#include <functional>

class PowerWindowTest : public PowerTest {
protected:
    void SetUp() override {
        PowerTest::SetUp();
        std::tie(CurrentSettings().Power.LogTime, CurrentSettings().Power.GraphHigh) = std::pair(120, 0.5);
        w.Engine.View.TrialReading = [] {};
        Modes().Register(ModePower, w.Engine);
        w.resize(900, 560);
        w.show();
        QString none;
        w.PowerLog(-1, none);
    }
    void Feed(QString line) { w.PowerLog(0, line += QLatin1Char('\r')); }
    void Answer(const char* line) {  // through the port and the reply routing
        port.pending = QByteArray(line) + "\r\n";
        ReceiveEvent();
    }
    // Readings of `watts(i)` every 0.25 s, from i = `from` to `to` - 1; Start clicked first at 0.
    void Readings(int from, int to, const std::function<double(int)>& watts) {
        if (from == 0) {
            QTest::mouseClick(w.butStartStop, Qt::LeftButton);
            Feed("*0");
        }
        for (int i = from; i < to; ++i) {
            clock.Advance(0.25);
            Feed("*" + QString::number(watts(i), 'E', 4));
        }
    }
    // A laser warming up for a minute.
    void WarmUp() {
        Readings(0, 240,
                 [](int i) { return 0.38 * (1 - std::exp(-i / 60.0)) + 0.004 * std::sin(i * 0.575); });
    }
    PowerWindow w;
};

// Start pressed while the power entry waits for its "FP" answer crossed the entry's commands, and
// the run waited for a reply the entry took. The press is refused with a beep and sends nothing;
// pressed after the answer, the run polls.
TEST_F(PowerWindowTest, startPressedWhileTheEntryWaitsIsRefusedAndTheRunPollsAfterIt) {
    GuardInputDuringLinkWaits();
    int rounds = 0;
    App().Shell.ProcessEvents = [&] {
        if (++rounds == 1) return QTest::mouseClick(w.butStartStop, Qt::LeftButton);
        Answer("*");
    };
    StartMeasurement(true, QStringLiteral("FP"));
    EXPECT_EQ(std::pair(port.Commands(), prompts.beeps), std::pair(QStringList{"FP"}, 1));
    QTest::mouseClick(w.butStartStop, Qt::LeftButton);
    for (const char* line : {"*0", "*1.000E-1", "*1.010E-1"}) Answer(line);
    EXPECT_EQ(w.Engine.Readings, 2);
    EXPECT_EQ(port.Commands().mid(1), QStringList(4, "SP"));  // the run's first, then one after each reply

    // While the link waits, the menus refuse their items too, but Disconnect, which ends every wait.
    QMenu menu;
    QAction* disconnect = menu.addAction("&Disconnect");
    disconnect->setObjectName("mnuConnect");
    QAction* power = menu.addAction("&Power");
    QStringList chosen;
    QObject::connect(&menu, &QMenu::triggered, [&](QAction* a) { chosen << a->text(); });
    Link().AwaitQueryReply = true;
    for (QAction* item : {power, disconnect}) {
        menu.popup({0, 0});
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(item).center());
    }
    Link().AwaitQueryReply = false;
    EXPECT_EQ(std::pair(chosen, prompts.beeps), std::pair(QStringList{"&Disconnect"}, 2));
}

// A run started inside the entry's wait by no input (as a timer would), its answer taken by the
// entry, is not left waiting in silence: after its "SP"'s 5 s the dummy "MD" goes out.
TEST_F(PowerWindowTest, runWhoseAnswerTheEntryTookGoesOnAfterTheTimeOutRetry) {
    App().Shell.ProcessEvents = [&] { w.Engine.Stopped ? w.Engine.StartStop() : Answer("*"); };
    StartMeasurement(true, QStringLiteral("FP"));
    clock.Advance(5.1);
    Timer2_Timer();
    EXPECT_EQ(port.Commands(), (QStringList{"FP", "SP", "MD"}));
    for (const char* line : {"*0", "*1.000E-1"}) Answer(line);
    EXPECT_EQ(w.Engine.Readings, 1);
}

// Mid-run the window shows read-out, statistics and trace, also after a resize. Every entry
// into power mode starts like a new window, in the unit of the head now on the channel: a lux
// head after a watt run.
TEST_F(PowerWindowTest, midRunWindowShowsTheRunAndEveryEntryStartsAfreshInTheUnitOfTheHead) {
    WarmUp();
    EXPECT_EQ(w.butStartStop->text(), "&Stop");
    EXPECT_TRUE(w.lblPower->isVisible() && w.lblPower->text().endsWith("mW"));
    EXPECT_TRUE(w.lblMinPower->isVisible() && w.lblMinPower->text().startsWith("Min:  "));
    EXPECT_TRUE(w.windowTitle().startsWith("Real-Time Power Logging - "));
    EXPECT_FALSE(SaveScreenshot(&w, "power_window").isEmpty());
    w.resize(700, 420);  // a new size redraws the stored trace
    QApplication::processEvents();
    EXPECT_GT(YellowPixels(w.Picture1->Surface().Image()), 50);
    w.chkAutoRescale->setChecked(true);
    w.chkLimitsOn->setChecked(true);
    QString none;
    w.PowerLog(1, none);
    TestMeter().Channels[0].ReadingUnit = "Lx";
    w.PowerLog(-1, none);
    EXPECT_EQ(std::tuple(w.chkAutoRescale->isChecked(), w.chkLimitsOn->isChecked(), w.Engine.LimitsOn),
              std::tuple(false, false, false));
    RecordingSurface chart;
    w.Engine.DrawWholeChart(chart);
    EXPECT_TRUE(chart.Texts().contains("Power, mLx")) << chart.Texts().join(" | ").toStdString();
    w.butSetup->click();
    EXPECT_EQ(SetupPower().cmbPowerUnits->itemText(4), "Lx");
    SetupPower().hide();

    // With Rescale, the run finished fills the chart.
    w.chkAutoRescale->setChecked(true);
    CurrentSettings().Power.LogTime = 30;
    WarmUp();
    EXPECT_NEAR(w.Engine.Chart.YMax, w.Engine.Stats().Max, 1e-6);
    EXPECT_TRUE(w.lblPower->text().endsWith("mLx")) << w.lblPower->text().toStdString();
    w.PowerSave(dir.Path("lux.pwr"));
    EXPECT_TRUE(
        dir.Read("lux.pwr").startsWith("Power, in Lux \t Time, in Seconds \t Head: 3A; s/n 123456\r\n"));
}

// A 12.5 mW beam on the default 0-1 W chart: with Auto-scale the range
// follows the readings while they come in, so the trace is no flat line on
// the floor; the mouse over the chart reads the time and the power there.
TEST_F(PowerWindowTest, autoScaleKeepsARunningBeamOnTheChartAndTheMouseReadsIt) {
    CurrentSettings().Power.GraphHigh = 1;
    w.chkAutoScale->setChecked(true);
    Readings(0, 80, [](int i) { return 0.0125 * (1 + 0.02 * std::sin(i * 0.7)); });
    ASSERT_TRUE(w.Engine.RunActive);
    EXPECT_LT(w.Engine.Chart.YMax - w.Engine.Chart.YMin, 0.002) << "the range is on the data, not 0-1 W";
    EXPECT_GT(YellowPixels(w.Picture1->Surface().Image()), 200);
    EXPECT_FALSE(SaveScreenshot(&w, "power_window_autoscaled").isEmpty());

    QTest::mouseMove(w.Picture1);  // to its middle
    const QString hover = w.Picture1->ShownHoverText();
    EXPECT_TRUE(hover.startsWith("Time: ") && hover.contains(" s   Power: 12.") && hover.endsWith("mW"))
        << hover.toStdString();

    QTest::mouseClick(w.butReset, Qt::LeftButton);
    EXPECT_FALSE(w.Engine.RunActive);
}

// The stability figures follow the run once a second while it goes on.
TEST_F(PowerWindowTest, liveRunStabilityFiguresFollowTheRun) {
    const auto ramp = [](int i) { return 0.1 + 0.001 * i; };  // a slope of 0.004 W/s
    Readings(0, 100, ramp);
    QTest::mouseClick(w.findChild<QPushButton*>("butStability"), Qt::LeftButton);
    auto* s = w.findChild<StabilityWindow*>("StabilityWindow");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(100, Cell(*s, "Readings"));

    Readings(100, 200, ramp);
    s->Tick();
    EXPECT_NEAR(0.1 + 0.001 * 99.5, Cell(*s, "Mean"), 1e-6);
    // Copied: label TAB value (the 200 readings now), then the Allan table under its head.
    QTest::mouseClick(s->butCopy, Qt::LeftButton);
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith("Readings\t200\nOver range\t0\nMean\t")) << text.toStdString();
    EXPECT_TRUE(text.contains("\ntau (s)\tAllan deviation (W)\trelative\n0.25\t")) << text.toStdString();
    s->resize(760, 420);
    QApplication::processEvents();
    EXPECT_GT(YellowPixels(s->Picture1->Surface().Image()), 20);  // the curve in the trace colour
    EXPECT_FALSE(SaveScreenshot(s, "stability_live_power").isEmpty());
}

// The rules are pinned in PowerSetupRulesTest; here the dialog shows the
// stored settings and OK stores what it shows.
TEST_F(PowerSetupTest, showsTheStoredSettingsAndOkStoresTheChoices) {
    PowerSettings& s = CurrentSettings().Power;  // 200 .. 800 mLx in x 10
    std::tie(s.LogTime, s.StatMode, s.GraphExponent, s.GraphLow, s.GraphHigh) =
        std::tuple(3725, 1, 1, 2.0, 8.0);
    PowerSetupDialog dialog;
    dialog.SetupPowerGraph(true, UnitScale{"Lx"});
    EXPECT_EQ(
        dialog.txt_time[2]->text() + ":" + dialog.txt_time[1]->text() + ":" + dialog.txt_time[0]->text(),
        "1:2:5");
    EXPECT_TRUE(dialog.chkStat[1]->isChecked() && !dialog.chkStat[2]->isChecked());
    EXPECT_EQ(dialog.cmbPowerCoeff->currentText() + " " + dialog.cmbPowerUnits->currentText(), "x 10 mLx");
    EXPECT_EQ(dialog.txt_power[0]->text() + " " + dialog.txt_power[1]->text(), "200 800");
    dialog.adjustSize();
    EXPECT_FALSE(SaveScreenshot(&dialog, "power_setup").isEmpty());

    // Typing keeps at most three digits (no pure rule holds this one).
    dialog.txt_power[1]->selectAll();
    QTest::keyClicks(dialog.txt_power[1], "1000");
    EXPECT_EQ(std::pair(dialog.txt_power[1]->text(), prompts.beeps), std::pair(QString("100"), 1));

    dialog.chkStat[2]->setChecked(true);
    dialog.logtime[0]->setValue(9);  // the box follows its bar
    EXPECT_EQ(dialog.txt_time[0]->text(), "9");
    dialog.graph_limits[1]->setValue(100);
    dialog.graph_limits[0]->setValue(500);
    dialog.Command2->click();
    // The High bar moved to 100 stays above Low (201); Low then moved to 500
    // is brought back below High by OK: 200 .. 201 mLx x 10.
    EXPECT_EQ(std::tuple(dialog.isVisible(), s.StatMode, s.GraphLow, s.GraphHigh),
              std::tuple(false, int16_t(3), 2.0, 2.01));
    EXPECT_TRUE(dir.Read("kelvaro.cfg").contains("3729"));
}
