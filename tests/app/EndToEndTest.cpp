// Missing and busy ports and the command line's port, over a pseudo-terminal
// to the simulator program; unplug and replug on the in-memory meter.

#include "EndToEnd.h"
#include "app/CommandLine.h"
#include "app/ModeList.h"
#include "app/ModeSwitch.h"
#include "auxiliary/InformationWindow.h"
#include "energy/PulseRun.h"
#include "link/MeterIdentity.h"
#include "platform/QtSerialPort.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/Configuration.h"
#include "support/FakeClock.h"
#include "support/FakeSystemView.h"
#include "support/ProgramState.h"
#include "support/RecordingSurface.h"
#include "support/Screenshot.h"

#include <QLabel>
#include <QMessageBox>

namespace {

// The message box as the program shows it, saved as a picture.
void ShootMessage(const ScriptedPrompts::Shown& shown, QMessageBox::Icon icon, const QString& name) {
    QMessageBox box(icon, shown.title.isEmpty() ? "Kelvaro32" : shown.title, shown.text);
    box.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(&box, name).isEmpty());
}

// The simulator answers without character time.
struct DesktopEndToEndTest : EndToEndTest {
    DesktopEndToEndTest() : EndToEndTest(kScatteringThermopile + QStringList{"--instant"}) {}
};

TEST_F(DesktopEndToEndTest, missingAndBusyPortsAreExplainedAndTheCommandLinePortConnects) {
    // Named on the command line, so it stays the port although it is missing.
    QFile::remove(dir.Path("kelvaro.ports"));
    const QString missing = dir.Path("ttyUSB9");
    ASSERT_EQ(ParseCommandLine(QStringList{"kelvaro32", "--port", missing}), std::nullopt);
    Start();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith("Can not communicate with the instrument\n\nThe device " +
                                                    missing + " does not exist"))
        << prompts.messages[0].text.toStdString();
    EXPECT_EQ(form->lblPort->text(), "Not connected");
    ShootMessage(prompts.messages[0], QMessageBox::NoIcon, "doctor-missing-device");

    // Another program holds the meter's port: this test, through a port of its own
    // (the process name is the system's, cut to 15 characters).
    platform::setCommandLinePort(sim.path);
    ReloadPortTable();
    platform::QtSerialPort holder;
    holder.SetCommPort(1);
    ASSERT_EQ(holder.Open(), platform::OpenResult::Ok);
    prompts.messages.clear();
    form->mnuConnect->trigger();
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(
        prompts.messages[0].text.toStdString(),
        QString("COM1: is currently being used by another device.\n\n%1 is held by test_app (process %2) "
                "and kelvaro-meter-sim (process %3). Close those programs, then choose Connect again.")
            .arg(sim.path)
            .arg(QCoreApplication::applicationPid())
            .arg(sim.proc.processId())
            .toStdString())
        << "the simulator keeps its own end's device open too";
    EXPECT_EQ(prompts.messages[1].text, "Can not communicate with the instrument");
    ShootMessage(prompts.messages[0], QMessageBox::Warning, "doctor-busy-port");

    holder.Close();
    form->mnuConnect->trigger();
    ASSERT_TRUE(Meter().Connected) << Log();
    EXPECT_EQ(form->lblPort->text(), "COM1 (" + sim.path + "), 19200 baud, TALON");
    EXPECT_EQ(InformationWindow(form.get()).LblPort->text(), "Port: COM1 (" + sim.path + ")");
    form->resize(820, 300);
    QCoreApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(form.get(), "status-strip-connected").isEmpty());
}

// The in-memory meter under the device of its port in the port table.
struct NamedPort : sim::SimSerialPort {
    using SimSerialPort::SimSerialPort;
    QString DevicePath() const override { return platform::portTable().Device(CommPort()); }
};

// The meter back after a loss, in memory on the test clock, its USB adapter
// under another ttyUSB number: the stable name learnt at the connect leads
// the port to it. Each logging mode (power difference: the ratio's engine)
// sends its command again and goes on, the 30 s away showing in its times
// and, drawn or redrawn, as a break in the power-type chart's line; another
// head on a channel the run reads stops it with the reason.
TEST(ReplugResume, everyLoggingModeGoesOnWithItsHeadsAndStopsWithAnother) {
    const QString stable = "/dev/serial/by-id/usb-Meter_Co_LPM_0042-if00-port0";
    auto head = [](int type, const char* name, quint32 serial) {
        sim::HeadSpec h;
        h.type = type, h.name = name, h.serial = serial, h.reading.pulseRate = 20;
        return h;
    };
    const sim::HeadSpec xlp = head(1, "XLP12", 4711), pe = head(2, "PE25", 4711),
                        other = head(2, "PE50", 999);
    using M = sim::Model;
    const struct {
        ModeMenuItem item;
        M model;
        sim::HeadSpec a, b;
        const char* command;
        int otherOn;  // the channel another head comes back on
    } rows[] = {
        {mnuMode_Power, M::Talon, xlp, {}, "FP", 0},
        {mnuMode_Energy, M::Talon2, pe, {}, "FE", 0},
        {mnuMode_RP_Absolute, M::MeridelOne, head(5, "RP3", 4711), {}, "FE A", 0},
        {mnuMode_DualPower_Ratio, M::MeridelTwo, xlp, head(1, "3A", 815), "FC 3 0 0", 1},
        {mnuMode_DualEnergy_Ratio, M::MeridelTwo, pe, head(2, "PE10", 815), "FC 3 1 1", 1},
    };
    for (const auto& row : rows) {
        for (const bool otherHead : {false, true}) {
            SCOPED_TRACE(std::string(row.command) + (otherHead ? ", another head" : ""));
            TempDir dir;
            FakeClock clock;
            ScriptedPrompts prompts;
            FakeSystemView system;
            system.stableNames = {{"/dev/ttyUSB0", stable}, {"/dev/ttyUSB1", stable}};
            ProgramStateScope fresh;
            // The gap included, and every reading a point of its own.
            CurrentSettings().Power.LogTime = CurrentSettings().PowerRatio.RatioLogTime = 120;
            WorkFiles() = {dir.Path("kelvaro.pwr"), dir.Path("kelvaro.nrg"), dir.Path("kelvaro.dnr")};
            SetPause([&](double s) { clock.Advance(s); });
            sim::MeterConfig cfg;
            cfg.model = row.model;
            cfg.heads = {row.a, row.b};
            std::unique_ptr<sim::Meter> meter;
            std::unique_ptr<NamedPort> port;
            auto plugIn = [&](const QString& node) {  // the meter starts afresh
                meter = std::make_unique<sim::Meter>(cfg);
                port = std::make_unique<NamedPort>(*meter, [&](double s) { clock.Advance(s); });
                platform::setSerialPort(port.get());
                system.present = {node, stable};
            };
            plugIn("/dev/ttyUSB0");
            App().Shell.ProcessEvents = [&] {
                clock.Advance(0.01);
                port->Pump();
                Timer2_Timer();
            };
            platform::setSystemView(&system);
            dir.Write("kelvaro.ports", "COM1 /dev/ttyUSB0\n");
            ReloadPortTable();
            ASSERT_TRUE(Connect());
            IdentifyInstrument();
            const auto engines = RegisterWindowlessModes();
            ModeMenuAction(row.item);
            Mode* mode = Modes().Find(App().ActiveMode);
            struct : ModeObserver {
                void NewReading(const Reading& r) override { times.push_back(r.Time); }
                std::vector<double> times;
            } seen;
            mode->Attach(seen);
            auto* power = dynamic_cast<PowerEngine*>(mode);
            std::vector<bool> breaks;  // of each point drawn as it came
            if (power) power->View.PointAdded = [&](const ChartPoint& p) { breaks.push_back(p.AfterGap); };
            auto logUntil = [&](size_t n) {
                for (int i = 0; i < 3000 && seen.times.size() < n; ++i) App().Shell.ProcessEvents();
            };
            power ? power->StartStop() : dynamic_cast<PulseRun*>(mode)->StartStop();
            logUntil(5);

            system.present = {};
            LinkLost();
            EXPECT_FALSE(WatchLostPort()) << "still unplugged";
            const size_t before = seen.times.size();
            clock.Advance(30.4);
            const sim::HeadSpec was = cfg.heads[size_t(row.otherOn)];
            if (otherHead) cfg.heads[size_t(row.otherOn)] = other;
            plugIn("/dev/ttyUSB1");
            ASSERT_TRUE(WatchLostPort());
            const QRegularExpression back("^COM1 \\(" + QRegularExpression::escape(stable) +
                                          "\\), 19200 baud, " + Meter().ModelName() +
                                          "\\. Reconnected at 12:00:3\\d after 30 s$");
            EXPECT_TRUE(back.match(PortStatusText()).hasMatch()) << PortStatusText().toStdString();
            IdentifyInstrument();
            const qsizetype identified = meter->CommandsReceived().size();
            ResumeAfterCut();
            logUntil(before + 5);
            const QStringList after = meter->CommandsReceived().mid(identified);
            if (otherHead) {
                EXPECT_EQ(prompts.Texts().last(),
                          QString("The meter is back with head PE50 s/n 999 on channel %1 instead "
                                  "of %2 s/n %3: the run was not resumed. What was logged can be saved.")
                              .arg(QChar('A' + row.otherOn))
                              .arg(was.name)
                              .arg(was.serial));
                EXPECT_EQ(std::pair(seen.times.size(), mode->Progress()->Logging), std::pair(before, false));
            } else {
                ASSERT_GE(seen.times.size(), before + 5) << after.join(' ').toStdString();
                EXPECT_EQ(after.value(0), row.command) << after.join(' ').toStdString();
                EXPECT_GE(seen.times[before] - seen.times[before - 1], 30.0);
                EXPECT_LT(seen.times[before + 1] - seen.times[before], 5.0);
            }
            if (power) {
                std::vector<bool> expected(seen.times.size(), false);
                if (!otherHead) expected[before] = true;
                EXPECT_EQ(breaks, expected);
                std::vector<bool> redrawn;
                power->ForEachShownPoint([&](const ChartPoint& p) { redrawn.push_back(p.AfterGap); });
                EXPECT_EQ(redrawn, expected);
                RecordingSurface chart;  // the trace starts afresh after the gap, and only there
                power->DrawWholeChart(chart);
                EXPECT_EQ(chart.Calls("Dot").size(), otherHead ? 1u : 2u);
            }
            mode->Detach(seen);
            Disconnect();
            App().ActiveMode = ModeNone;
            platform::setSystemView(nullptr);
            platform::setSerialPort(nullptr);
            SetPause({});
        }
    }
}

}  // namespace
