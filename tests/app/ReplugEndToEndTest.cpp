// Unplugged mid-run and plugged in again, over a pseudo-terminal to the
// simulator program: the run goes on by itself. These runs take terminals
// away and make new ones, so they run alone (a terminal number freed here is
// soon another test's).

#include "EndToEnd.h"
#include "energy/EnergyWindow.h"
#include "link/MeterIdentity.h"
#include "state/Configuration.h"
#include "support/Screenshot.h"

#include <QCheckBox>
#include <QLabel>
#include <QRegularExpression>
#include <csignal>

namespace {

// Unplugged mid-run and plugged in again: the run goes on with no key
// pressed (another head stopping it is pinned on the in-memory meter).
struct Replug {
    const char* name;
    bool energy;
    bool logFile;
    bool samePath;  // a fixed link to the terminal in kelvaro.ports; else a new terminal mapped to COM1
};

// The link the simulator makes to its terminal, the same at every start.
QString MeterLink() {
    return QDir::temp().filePath(QString("kelvaro-replug-%1").arg(QCoreApplication::applicationPid()));
}

struct ReplugEndToEndTest : EndToEndFixture<Replug> {
    ReplugEndToEndTest()
        : EndToEndFixture((GetParam().energy ? ScatteringHead("talon2", "type=2,name=PE25,rate=20")
                                             : kScatteringThermopile) +
                          (GetParam().samePath ? QStringList{"--link", MeterLink()} : QStringList{})) {}
    QString Status() const { return form->lblPort->text(); }
    int64_t Readings() const { return Modes().Find(App().ActiveMode)->Progress()->Readings; }
};

TEST_P(ReplugEndToEndTest, theRunGoesOnByItselfAndSaveHoldsEveryReadingSent) {
    const Replug& r = GetParam();
    const QString device = r.samePath ? MeterLink() : sim.path;
    if (r.samePath) dir.Write("kelvaro.ports", PortsFile({{1, device}}));
    const char* item = r.energy ? "mnuMode_Energy" : "mnuMode_Power";
    const QString command = r.energy ? "SE" : "SP";
    ASSERT_TRUE(StartConnected(item)) << Log();
    CurrentSettings().Power.LogTime = 20;  // the gap included
    (r.logFile ? form->mnuLogFile_On : form->mnuLogFile_Off)->trigger();
    form->action(item)->trigger();
    QPushButton* startStop = r.energy ? form->findChild<EnergyWindow*>()->butStartStop
                                      : form->findChild<PowerWindow*>("PowerWindow")->butStartStop;
    if (!r.energy) form->findChild<PowerWindow*>("PowerWindow")->chkAutoScale->click();
    const int64_t each = r.energy ? 30 : 150;  // readings before and after the gap
    startStop->click();
    ASSERT_TRUE(RunUntil([&] { return Readings() >= each; }, 30000));

    sim.proc.kill();
    sim.proc.waitForFinished(3000);
    // Unplugged, the system takes the name away too: a path left to the dead
    // terminal would lead to whatever terminal is made next under its number
    // (another test's meter, when tests run side by side).
    if (r.samePath)
        QFile::remove(device);
    else
        dir.Write("kelvaro.ports", PortsFile({{1, dir.Path("unplugged")}}));
    ASSERT_TRUE(RunUntil([] { return !Meter().Connected; }, 5000));
    const int64_t before = Readings();
    ASSERT_EQ(prompts.messages.size(), 1u) << Log();
    EXPECT_EQ(
        prompts.messages[0].text,
        "Timeout! Connection Lost!\n\nCOM1 (" + device +
            ") was removed. What was logged stays in its window and can be saved. When the device is back, "
            "the program connects again by itself and a run that was logging goes on.");
    EXPECT_EQ(Status(), "Not connected. COM1 (" + device + ") was removed.");
    EXPECT_TRUE(form->mnuConnect->isEnabled());
    std::vector<std::vector<float>> replies{Replies(dir.Read("rs232.buf"), command)};

    sim.Start();
    if (!r.samePath) dir.Write("kelvaro.ports", PortsFile({{1, sim.path}}));
    ASSERT_TRUE(RunUntil([&] { return Meter().Connected; }, 30000)) << Status().toStdString();
    const QRegularExpression back("^COM1 \\(" +
                                  QRegularExpression::escape((r.samePath ? device : sim.path) +
                                                             "), 19200 baud, " + Meter().ModelName()) +
                                  "\\. Reconnected at \\d\\d:\\d\\d:\\d\\d after \\d+ s$");
    EXPECT_TRUE(back.match(Status()).hasMatch()) << Status().toStdString();
    ASSERT_TRUE(RunUntil([&] { return Readings() >= before + each; }, 30000)) << Log();
    startStop->click();
    RunUntil([] { return false; }, 200);
    EXPECT_EQ(prompts.messages.size(), 1u) << Log();
    if (!r.energy) {
        EXPECT_FALSE(
            SaveScreenshot(form->findChild<PowerWindow*>("PowerWindow"), "power-replug-gap").isEmpty());
    }

    const auto [header, data] = ReadDataFile(Save(r.energy ? "run.nrg" : "run.pwr"), !r.energy);
    form->mnuConnect_Click();  // the traffic log of the second connection
    replies.push_back(Replies(dir.Read("rs232.buf"), command));
    ExpectSentAcrossReturns(data, replies, r.energy ? 2 : 1);
    if (r.energy) return;
    // The times jump across the gap, at least the second the watch waits.
    const size_t gap = replies[0].size() - 1;
    ASSERT_LT(gap, data.size());
    EXPECT_GT(data[gap].time - data[gap - 1].time, 0.5);
    EXPECT_LT(data[gap - 1].time - data[gap - 2].time, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Replug, ReplugEndToEndTest,
                         ::testing::Values(Replug{"powerNewPath", false, false, false},
                                           Replug{"powerSamePathDataLogFile", false, true, true},
                                           Replug{"energySamePath", true, false, true},
                                           Replug{"energyNewPathDataLogFile", true, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Nobody at a window either: `kelvaro32 log` waits for the meter, its data
// file goes on across the gap, and Ctrl+C leaves it whole, the traffic log
// written.
TEST(ReplugHeadless, theLogCommandWaitsForTheMeterAndItsFileGoesOn) {
    TempDir dir;
    const QString link = MeterLink();
    Simulator sim(kScatteringThermopile + QStringList{"--link", link});
    QProcess program;
    StartHeadless(program, {"log", "--port", link, "--for", "3m", "--out", "run.pwr"});
    ASSERT_TRUE(program.waitForStarted());
    QByteArray said;
    auto until = [&](auto done) {
        QDeadlineTimer deadline(30000);
        while (!done() && !deadline.hasExpired() && program.state() == QProcess::Running)
            program.waitForFinished(50);
        said += program.readAllStandardError();
        return done();
    };
    auto lines = [&] { return dir.Read("run.pwr").count('\n'); };
    ASSERT_TRUE(until([&] { return lines() > 50; })) << said.toStdString();

    sim.proc.kill();
    sim.proc.waitForFinished(3000);
    QFile::remove(link);
    ASSERT_TRUE(until([&] { return (said += program.readAllStandardError()).contains("Connection Lost!"); }))
        << said.toStdString();
    std::vector<std::vector<float>> replies{Replies(dir.Read("rs232.buf"), "SP")};
    sim.Start();
    ASSERT_TRUE(until([&] { return (said += program.readAllStandardError()).contains("Reconnected at"); }))
        << said.toStdString();
    const qsizetype before = lines();
    ASSERT_TRUE(until([&] { return lines() > before + 50; })) << said.toStdString();
    ::kill(pid_t(program.processId()), SIGINT);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << said.toStdString();

    replies.push_back(Replies(dir.Read("rs232.buf"), "SP"));
    const auto [header, data] = ReadDataFile(dir.Read("run.pwr"));
    ExpectSentAcrossReturns(data, replies, 1);
}

}  // namespace
