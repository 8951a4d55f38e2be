// Unplug and replug, missing and busy ports, the command line and the desktop
// files: the real port over a pseudo-terminal to the simulator, real clock.

#include "EndToEnd.h"
#include "app/CommandLine.h"
#include "app/MDIForm1.h"
#include "app/ModeSwitch.h"
#include "auxiliary/frmInfo.h"
#include "bench/MeterSimProcess.h"
#include "data/FileCommand.h"
#include "link/Link.h"
#include "platform/PortTable.h"
#include "platform/QtSerialPort.h"
#include "power/frmPower.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/AppState.h"
#include "support/FakeClock.h"
#include "support/FakeSystemView.h"
#include "support/Screenshot.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <memory>

namespace {

// The message box as the program shows it, saved as a picture.
void ShootMessage(const ScriptedPrompts::Shown& shown, QMessageBox::Icon icon, const QString& name) {
    QMessageBox box(icon, shown.title.isEmpty() ? "Kelvaro32" : shown.title, shown.text);
    box.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(&box, name).isEmpty());
}

class DesktopEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("KELVARO_METER_SIM", KELVARO_METER_SIM);
        ResetFileDialogMemory();
    }
    void TearDown() override {
        if (App().Connected) Disconnect();
        form.reset();
        platform::setCommandLinePort({});
        ResetAppState();
        ResetLinkState();
        ResetFileDialogMemory();
        StopSimulator(sim);
    }

    QString PlugIn() {
        const QString path = StartSimulator(sim, "type=1,name=XLP12,serial=4711,value=0.0125,noise=0.2");
        EXPECT_TRUE(path.startsWith("/dev/")) << path.toStdString();
        return path;
    }

    void Start() {
        form = std::make_unique<MDIForm1>();
        ASSERT_TRUE(form->MDIForm_Load());
        App().WorkFileName = dir.Path("kelvaro.pwr");
        form->ShowAndConnect();
        QCoreApplication::processEvents();  // the connect, posted to the event loop
    }

    // Power logging started and run until it holds `points` readings (well
    // under the 6000 points a run keeps unmerged and the 10000 lines of the
    // traffic log; the simulator answers at once).
    frmPower* LogPower(int32_t points) {
        form->action("mnuMode_Power")->trigger();
        auto* w = static_cast<frmPower*>(form->findChild<QWidget*>("frmPower"));
        if (!w) return nullptr;
        w->butStartStop->click();
        EXPECT_TRUE(RunUntil([&] { return w->Engine.PointsOnShow() >= points; }, 10000));
        return w;
    }

    QString Status() const { return form->lblPort->text(); }

    QProcess sim;
    TempDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<MDIForm1> form;
};

TEST_F(DesktopEndToEndTest, unplugMidRunKeepsEveryReadingAndReplugConnectsAgain) {
    const QString first = PlugIn();
    dir.Write("kelvaro.ports", PortsFile(first));
    Start();
    ASSERT_TRUE(App().Connected) << prompts.Texts().join(" | ").toStdString();
    form->mnuLogFile_Off->trigger();
    frmPower* w = LogPower(500);
    ASSERT_NE(w, nullptr);

    // Unplugged: the simulator and its terminal go away mid-run.
    sim.kill();
    sim.waitForFinished(3000);
    ASSERT_TRUE(RunUntil([] { return !App().Connected; }, 5000));
    ASSERT_FALSE(prompts.messages.empty());
    EXPECT_EQ(
        prompts.messages.back().text,
        "Timeout! Connection Lost!\n\nCOM1 (" + first +
            ") was removed. What was logged stays in its window and can be saved. When the device is back "
            "the status bar says so; then choose Connect.");
    EXPECT_EQ(form->mnuConnect->text(), "C&onnect");
    EXPECT_EQ(Status(), "Not connected. COM1 (" + first + ") was removed.");

    // Everything logged before the loss is saved: the values the meter sent
    // (from the traffic log written at the loss), the first reply of the run
    // discarded, the one in flight at the loss never answered.
    if (w->butStartStop->text() == "&Stop") w->butStartStop->click();
    const int32_t points = w->Engine.PointsOnShow();
    prompts.fileAnswers.push_back(dir.Path("before-loss.pwr"));
    FileCommand(0);
    QList<QByteArray> lines = dir.Read("before-loss.pwr").split('\n').mid(1);  // after the header
    ASSERT_EQ(lines.size(), points + 1) << "and nothing after the last line end";
    const QString traffic = QString::fromLatin1(dir.Read("rs232.buf"));
    EXPECT_TRUE(traffic.contains("Connection lost: " + first + " was removed"));
    static const QRegularExpression reply(R"(\$SP<CR>\r\n\*([^<\r\n]*)<CR>)");
    std::vector<float> sent;
    for (const auto& m : reply.globalMatch(traffic)) sent.push_back(m.captured(1).toFloat());
    ASSERT_EQ(sent.size(), size_t(points) + 1);
    for (int i = 0; i < points; ++i) {
        const QString value = QString::fromLatin1(lines[i].split('\t').value(0)).trimmed().replace(',', '.');
        ASSERT_EQ(value.toFloat(), sent[size_t(i) + 1]) << "reading " << i + 1;
    }

    // Plugged in again: a new terminal, mapped to the same COM port.
    const QString second = PlugIn();
    dir.Write("kelvaro.ports", PortsFile(second));
    EXPECT_TRUE(RunUntil(
        [&] { return Status() == "Not connected. COM1 (" + second + ") is back: choose Connect."; }, 3000))
        << Status().toStdString();
    SwitchMode(ModeNone);
    ASSERT_TRUE(form->mnuConnect->isEnabled());
    form->mnuConnect->trigger();
    ASSERT_TRUE(App().Connected) << prompts.Texts().join(" | ").toStdString();
    EXPECT_EQ(App().Channels[0].HeadName, "XLP12") << "identified again";
    EXPECT_EQ(Status(), "COM1 (" + second + "), 19200 baud, TALON");
    w = LogPower(100);
    ASSERT_NE(w, nullptr);
    w->butStartStop->click();
}

TEST_F(DesktopEndToEndTest, missingAndBusyPortsAreExplainedAndTheCommandLinePortConnects) {
    // Named on the command line, so it stays the port although it is missing;
    // there is no kelvaro.ports at all.
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
    const QString path = PlugIn();
    platform::setCommandLinePort(path);
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
            .arg(path)
            .arg(QCoreApplication::applicationPid())
            .arg(sim.processId())
            .toStdString())
        << "the simulator keeps its own end's device open too";
    EXPECT_EQ(prompts.messages[1].text, "Can not communicate with the instrument");
    ShootMessage(prompts.messages[0], QMessageBox::Warning, "doctor-busy-port");

    holder.Close();
    form->mnuConnect->trigger();
    ASSERT_TRUE(App().Connected) << prompts.Texts().join(" | ").toStdString();
    EXPECT_EQ(form->mnuSetup_CommPortList[1]->statusTip(), path);
    EXPECT_EQ(Status(), "COM1 (" + path + "), 19200 baud, TALON");
    EXPECT_EQ(frmInfo(form.get()).LblPort->text(), "Port: COM1 (" + path + ")");
    form->resize(820, 300);
    QCoreApplication::processEvents();
    EXPECT_FALSE(SaveScreenshot(form.get(), "status-strip-connected").isEmpty());
}

// A USB adapter unplugged and plugged in again under another ttyUSB number:
// its stable name, learnt at the connect, leads the port to it. The
// in-memory meter, a port that names a device, and a fake system view.
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
    sim::Meter meter{sim::MeterConfig{}};
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

TEST(CommandLine, helpVersionAndABadOption) {
    const struct {
        QStringList args;
        int status;
        const char* out;
        const char* err;
    } rows[] = {
        {{"--help"}, 0, "Usage: kelvaro32 [options]", ""},
        {{"--help"}, 0, "--port <PATH>", ""},
        {{"--version"}, 0, "kelvaro32 3.20\n", ""},
        {{"--frobnicate"}, 2, "", "kelvaro32: Unknown option 'frobnicate'."},
        {{"meter"}, 2, "", "kelvaro32: unexpected argument 'meter'"},
    };
    for (const auto& row : rows) {
        QProcess p;
        p.start(KELVARO32, row.args);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), row.status) << row.args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardOutput().contains(row.out)) << row.args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains(row.err)) << row.args.join(' ').toStdString();
    }
}

// The desktop entry and metadata the package installs pass the desktop's
// own checkers, where they are installed.
TEST(DesktopFiles, passTheValidators) {
    const struct {
        const char* tool;
        QStringList args;
    } checks[] = {
        {"desktop-file-validate", {KELVARO_SOURCE_DIR "/data/com.kelvaro.Kelvaro32.desktop"}},
        {"appstreamcli",
         {"validate", "--no-net", KELVARO_SOURCE_DIR "/data/com.kelvaro.Kelvaro32.metainfo.xml"}},
    };
    int ran = 0;
    for (const auto& check : checks) {
        const QString tool = QStandardPaths::findExecutable(check.tool);
        if (tool.isEmpty()) continue;
        QProcess p;
        p.start(tool, check.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << check.tool << ": " << p.readAll().toStdString();
        ++ran;
    }
    if (ran == 0) GTEST_SKIP() << "neither desktop-file-validate nor appstreamcli is installed";
}

}  // namespace
