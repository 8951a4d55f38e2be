// Unplug and replug, missing and busy ports, the command line's port: the real
// port over a pseudo-terminal to the simulator, real clock.

#include "EndToEnd.h"
#include "app/CommandLine.h"
#include "app/ModeSwitch.h"
#include "auxiliary/frmInfo.h"
#include "platform/QtSerialPort.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "support/FakeClock.h"
#include "support/FakeSystemView.h"
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
    QString Status() const { return form->lblPort->text(); }
};

TEST_F(DesktopEndToEndTest, unplugMidRunKeepsEveryReadingAndReplugConnectsAgain) {
    const QString first = sim.path;
    ASSERT_TRUE(StartConnected("mnuMode_Power")) << Log();
    form->mnuLogFile_Off->trigger();
    frmPower* w = StartPowerLogging();
    ASSERT_NE(w, nullptr);
    // Well under the 6000 points a run keeps unmerged and the 10000 lines of the traffic log.
    ASSERT_TRUE(RunUntil([&] { return w->Engine.PointsOnShow() >= 500; }, 10000));

    // Unplugged: the simulator and its terminal go away mid-run.
    sim.proc.kill();
    sim.proc.waitForFinished(3000);
    ASSERT_TRUE(RunUntil([] { return !App().Connected; }, 5000));
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(
        prompts.messages.back().text,
        "Timeout! Connection Lost!\n\nCOM1 (" + first +
            ") was removed. What was logged stays in its window and can be saved. When the device is back "
            "the status bar says so; then choose Connect.");
    EXPECT_EQ(form->mnuConnect->text(), "C&onnect");
    EXPECT_EQ(Status(), "Not connected. COM1 (" + first + ") was removed.");

    // Everything logged is saved: the values the meter sent (in the traffic
    // log written at the loss), the one in flight at the loss never answered.
    if (w->butStartStop->text() == "&Stop") w->butStartStop->click();
    const std::vector<DataLine> data = ReadDataFile(Save("before-loss.pwr")).second;
    EXPECT_EQ(int32_t(data.size()), w->Engine.PointsOnShow());
    const QByteArray traffic = dir.Read("rs232.buf");
    EXPECT_TRUE(traffic.contains(("Connection lost: " + first + " was removed").toUtf8()));
    ExpectSentReadings(data, traffic, 0);

    // Plugged in again: a new terminal, mapped to the same COM port.
    sim.Start();
    dir.Write("kelvaro.ports", PortsFile({{1, sim.path}}));
    EXPECT_TRUE(RunUntil(
        [&] { return Status() == "Not connected. COM1 (" + sim.path + ") is back: choose Connect."; }, 3000))
        << Status().toStdString();
    SwitchMode(ModeNone);
    ASSERT_TRUE(form->mnuConnect->isEnabled());
    form->mnuConnect->trigger();
    ASSERT_TRUE(App().Connected) << Log();
    EXPECT_EQ(App().Channels[0].HeadName, "XLP12") << "identified again";
    EXPECT_EQ(Status(), "COM1 (" + sim.path + "), 19200 baud, TALON");
}

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
    EXPECT_EQ(Status(), "Not connected");
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
                "and kelvaro-meter-s (process %3). Close those programs, then choose Connect again.")
            .arg(sim.path)
            .arg(QCoreApplication::applicationPid())
            .arg(sim.proc.processId())
            .toStdString())
        << "the simulator keeps its own end's device open too";
    EXPECT_EQ(prompts.messages[1].text, "Can not communicate with the instrument");
    ShootMessage(prompts.messages[0], QMessageBox::Warning, "doctor-busy-port");

    holder.Close();
    form->mnuConnect->trigger();
    ASSERT_TRUE(App().Connected) << Log();
    EXPECT_EQ(form->mnuSetup_CommPortList[1]->statusTip(), sim.path);
    EXPECT_EQ(Status(), "COM1 (" + sim.path + "), 19200 baud, TALON");
    EXPECT_EQ(frmInfo(form.get()).LblPort->text(), "Port: COM1 (" + sim.path + ")");
    form->resize(820, 300);
    QCoreApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(form.get(), "status-strip-connected").isEmpty());
}

// A USB adapter plugged in again under another ttyUSB number: its stable
// name, learnt at the connect, leads the port to it (in-memory meter).
TEST(LostPortWatch, followsTheStableNameToTheAdaptersNewNode) {
    const QString stable = "/dev/serial/by-id/usb-Meter_Co_LPM_0042-if00-port0";
    FakeSystemView system;
    system.stableNames = {{"/dev/ttyUSB0", stable}, {"/dev/ttyUSB1", stable}};
    struct NamedPort : sim::SimSerialPort {
        using SimSerialPort::SimSerialPort;
        QString DevicePath() const override { return platform::portTable().Device(CommPort()); }
    };
    TempDir dir;
    FakeClock clock;
    ScriptedPrompts prompts;
    ResetAppState();
    ResetLinkState();
    sim::Meter meter;
    NamedPort port(meter, [&](double s) { clock.Advance(s); });
    platform::setSerialPort(&port);
    platform::setSystemView(&system);
    dir.Write("kelvaro.ports", "COM5 /dev/ttyUSB0\n");
    App().Config.CommPort = 5;
    ReloadPortTable();

    system.present = {"/dev/ttyUSB0", stable};
    ASSERT_TRUE(Connect());
    system.present = {};
    LinkLost();
    EXPECT_FALSE(WatchLostPort()) << "still unplugged";
    EXPECT_EQ(PortStatusText(), "Not connected. COM5 (/dev/ttyUSB0) was removed.");
    system.present = {"/dev/ttyUSB1", stable};
    EXPECT_TRUE(WatchLostPort());
    EXPECT_EQ(PortStatusText(), "Not connected. COM5 (" + stable + ") is back: choose Connect.");
    EXPECT_TRUE(Connect());
    EXPECT_EQ(port.DevicePath(), stable);
    Disconnect();
    platform::setSystemView(nullptr);
    platform::setSerialPort(nullptr);
    ResetAppState();
    ResetLinkState();
}

}  // namespace
