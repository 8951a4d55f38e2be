// Power and energy logging with the Data Log File off and on, a saved run
// opened in the viewer, unplug and replug, missing and busy ports, the
// command line's port: the real port over a pseudo-terminal to the simulator
// program, real clock.

#include "EndToEnd.h"
#include "app/CommandLine.h"
#include "app/ModeSwitch.h"
#include "auxiliary/InformationWindow.h"
#include "dual/EnergyRatioWindow.h"
#include "energy/EnergyWindow.h"
#include "link/MeterIdentity.h"
#include "platform/QtSerialPort.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/Configuration.h"
#include "support/FakeClock.h"
#include "support/FakeSystemView.h"
#include "support/ProgramState.h"
#include "support/Screenshot.h"
#include "viewers/PowerViewer.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace {

struct PowerEndToEndTest : EndToEndTest {
    PowerEndToEndTest() : EndToEndTest(kScatteringThermopile) {}
};

TEST_P(PowerEndToEndTest, loggedReadingsAreSavedAsTheMeterSentThemAndTheViewerSavesThemAgain) {
    ASSERT_TRUE(StartConnected("mnuMode_Power")) << Log();
    (GetParam() ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    PowerWindow* w = OpenPowerWindow();
    ASSERT_NE(w, nullptr);
    LogFor(w, 2000);

    const QByteArray file = Save("run.pwr");
    const auto [header, data] = ReadDataFile(file);
    EXPECT_EQ(header, "Power, in Watts \t Time, in Seconds \t Head: XLP12; s/n4711");
    // At 19200 baud a reading takes under 10 ms; two seconds give far more
    // than a hundred, and the window stored one point for each.
    ASSERT_GE(data.size(), 100u);
    EXPECT_EQ(int32_t(data.size()), w->Engine.PointsOnShow());
    EXPECT_EQ(data.front().time, 0.0);
    for (size_t i = 1; i < data.size(); ++i) ASSERT_GE(data[i].time, data[i - 1].time) << "line " << i + 1;
    EXPECT_GT(data.back().time, 1.0);
    EXPECT_LT(data.back().time, 2.5);

    form->mnuConnect_Click();  // writes the traffic log
    ExpectSentReadings(data, dir.Read("rs232.buf"));

    // Opened again as a PC file and saved from the viewer: the same lines
    // under the viewer's header, which takes its "Head" without the blank
    // the logger writes.
    prompts.fileAnswers.push_back(dir.Path("run.pwr"));
    form->action("mnuFile_Open")->trigger();
    auto* viewer = form->findChild<PowerViewer*>("PowerViewer");
    ASSERT_NE(viewer, nullptr) << Log();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Data.Count(), int64_t(data.size()));
    EXPECT_EQ(viewer->windowTitle(), "Power Data - " + dir.Path("run.pwr") + "; Head: XLP12; s/n4711");
    const QByteArray again = Save("again.pwr");
    EXPECT_EQ(again.left(again.indexOf("\r\n")).toStdString(),
              "Power, in Watts \t Time, in Seconds \tHead: XLP12; s/n4711");
    EXPECT_EQ(again.mid(again.indexOf("\r\n")).toStdString(), file.mid(file.indexOf("\r\n")).toStdString());
    EXPECT_TRUE(prompts.Texts().isEmpty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, PowerEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "pointsWritten"; });

struct EnergyEndToEndTest : EndToEndTest {
    EnergyEndToEndTest() : EndToEndTest(ScatteringHead("talon2", "type=2,name=PE25,rate=20")) {}
};

TEST_P(EnergyEndToEndTest, pulsesAreSavedAsTheMeterSentThem) {
    ASSERT_TRUE(StartConnected("mnuMode_Energy")) << Log();
    (GetParam() ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    form->action("mnuMode_Energy")->trigger();
    auto* w = form->findChild<EnergyWindow*>("EnergyWindow");
    ASSERT_NE(w, nullptr);
    LogFor(w, 2500);

    const auto [header, saved] = ReadDataFile(Save("run.nrg"), false);
    EXPECT_EQ(header, "Energy, in Joules \t Head: PE25; s/n4711");
    ASSERT_GE(saved.size(), 30u);  // 20 pulses a second for 2.5 s

    form->mnuConnect_Click();
    const std::vector<float> sent = Replies(dir.Read("rs232.buf"), "SE");
    // The reply to the run's first "SE" only opens the cycle, and one may come after Stop.
    ASSERT_GE(sent.size(), saved.size());
    ASSERT_LE(sent.size(), saved.size() + 2);
    const size_t offset = sent.size() > saved.size() && sent[0] != saved[0].value ? 1 : 0;
    for (size_t i = 0; i < saved.size(); ++i)
        ASSERT_EQ(saved[i].value, sent[i + offset]) << "pulse " << i + 1;
    EXPECT_TRUE(prompts.messages.empty()) << Log();
}

INSTANTIATE_TEST_SUITE_P(DataLogFile, EnergyEndToEndTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "workingFileCopied" : "storeWritten"; });

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
    PowerWindow* w = OpenPowerWindow();
    ASSERT_NE(w, nullptr);
    w->butStartStop->click();
    // Well under the 6000 points a run keeps unmerged and the 10000 lines of the traffic log.
    ASSERT_TRUE(RunUntil([&] { return w->Engine.PointsOnShow() >= 500; }, 10000));

    // Unplugged: the simulator and its terminal go away mid-run.
    sim.proc.kill();
    sim.proc.waitForFinished(3000);
    ASSERT_TRUE(RunUntil([] { return !Meter().Connected; }, 5000));
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
    ASSERT_TRUE(Meter().Connected) << Log();
    EXPECT_EQ(Meter().Channels[0].HeadName, "XLP12") << "identified again";
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
    EXPECT_EQ(Status(), "COM1 (" + sim.path + "), 19200 baud, TALON");
    EXPECT_EQ(InformationWindow(form.get()).LblPort->text(), "Port: COM1 (" + sim.path + ")");
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
    FreshProgramState();
    sim::Meter meter;
    NamedPort port(meter, [&](double s) { clock.Advance(s); });
    platform::setSerialPort(&port);
    platform::setSystemView(&system);
    dir.Write("kelvaro.ports", "COM5 /dev/ttyUSB0\n");
    CurrentSettings().CommPort = 5;
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
    FreshProgramState();
}

// A mode runs without a window: power, energy and energy ratio logged over
// the terminal by their engines alone, entered through the Mode menu's
// switch and saved through the File menu; a window then attached to the
// finished run saves the same bytes.
TEST(HeadlessEndToEndTest, modesLogWithNoWindowAndAnAttachedWindowSavesTheSameBytes) {
    const QStringList pulses = ScatteringHead("talon2", "type=2,name=PE25,rate=20");
    using Attach = std::function<void(Mode&, const QString&)>;
    const struct {
        QStringList simulator;
        ModeMenuItem item;
        std::function<std::unique_ptr<Mode>()> make;
        Attach windowSave;
        const char* file;
        const char* header;
        size_t least;  // lines in 2 s at the very least
    } rows[] = {
        {kScatteringThermopile, mnuMode_Power, [] { return std::make_unique<PowerEngine>(); },
         [](Mode& m, const QString& name) {
             PowerWindow(kPowerWindow, &dynamic_cast<PowerEngine&>(m)).PowerSave(name);
         },
         "run.pwr", "Power, in Watts \t Time, in Seconds \t Head: XLP12; s/n4711", 50},
        {pulses, mnuMode_Energy, [] { return std::make_unique<EnergyEngine>(); },
         [](Mode& m, const QString& name) {
             EnergyWindow(nullptr, &dynamic_cast<EnergyEngine&>(m)).EnergySave(name);
         },
         "run.nrg", "Energy, in Joules \t Head: PE25; s/n4711", 20},
        {kPairedPyros, mnuMode_DualEnergy_Ratio, [] { return std::make_unique<EnergyRatioEngine>(); },
         [](Mode& m, const QString& name) {
             EnergyRatioWindow(nullptr, &dynamic_cast<EnergyRatioEngine&>(m)).EnergyRatioSave(name);
         },
         "run.dnr", "Energy, J Channel A\t Channel B \t Head A: PE25; s/n4711\t Head B: PE10; s/n815", 20},
    };
    for (const auto& row : rows) {
        Simulator sim(row.simulator);
        TempDir dir;
        ScriptedPrompts prompts;
        FreshProgramState();
        App().Shell.ProcessEvents = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
        QTimer timer2;
        QObject::connect(&timer2, &QTimer::timeout, [] { Timer2_Timer(); });
        timer2.start(10);
        platform::portTable().Override("COM1 " + sim.path + "\n");
        CurrentSettings().CommPort = 1;
        WorkFiles().WorkFileName = dir.Path("kelvaro.pwr");
        WorkFiles().EnergyWorkFile = dir.Path("kelvaro.nrg");
        WorkFiles().RatioWorkFile = dir.Path("kelvaro.dnr");
        const std::unique_ptr<Mode> mode = row.make();
        Modes().Register(ModeOfItem(row.item), *mode);
        // A busy machine can keep an answer past the probe or the identification: connect again.
        for (int attempt = 0; attempt < 3 && Meter().Channels[0].HeadType == HeadKind::None; ++attempt) {
            Disconnect();
            if (Connect()) IdentifyInstrument();
        }
        const qsizetype widgets = QApplication::allWidgets().size();
        ModeMenuAction(row.item);
        ASSERT_EQ(App().ActiveMode, ModeOfItem(row.item)) << row.header;
        auto* run = dynamic_cast<PulseRun*>(mode.get());
        auto* power = dynamic_cast<PowerEngine*>(mode.get());
        run ? run->StartStop() : power->StartStop();
        RunUntil([] { return false; }, 2000);
        run ? run->StartStop() : power->StartStop();
        RunUntil([] { return false; }, 100);
        EXPECT_EQ(QApplication::allWidgets().size(), widgets) << "the run made no window";

        prompts.fileAnswers.push_back(dir.Path(row.file));
        FileCommand(0);
        const QByteArray headless = dir.Read(row.file);
        const auto [header, data] =
            ReadDataFile(headless, power != nullptr, row.item == mnuMode_DualEnergy_Ratio);
        EXPECT_EQ(header, row.header);
        EXPECT_GE(data.size(), row.least) << row.header;
        row.windowSave(*mode, dir.Path("window"));
        EXPECT_TRUE(dir.Read("window") == headless) << row.header;
        EXPECT_TRUE(prompts.Texts().isEmpty()) << prompts.Texts().join(" | ").toStdString();
        SwitchMode(ModeNone);
        Disconnect();
    }
    FreshProgramState();
}

}  // namespace
