#pragma once

// Shared by the tests on the simulator program over a pseudo-terminal.

#include "app/MainWindow.h"
#include "data/FileCommand.h"
#include "data/NumberFormat.h"
#include "link/Link.h"
#include "link/MeterIdentity.h"
#include "platform/PortTable.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "support/ProgramState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

// The simulator program on its terminal, ended with the test.
struct Simulator {
    explicit Simulator(const QStringList& arguments) : args(arguments) { Start(); }
    ~Simulator() {
        proc.terminate();
        if (!proc.waitForFinished(3000)) proc.kill();
    }
    void Start() {
        proc.start(KELVARO_METER_SIM, args);
        while (proc.waitForStarted(5000) && !proc.canReadLine() && proc.waitForReadyRead(5000)) {
        }
        path = QString::fromLocal8Bit(proc.readLine()).trimmed();
    }
    QStringList args;
    QProcess proc;
    QString path;
};

// The program as a command, with no display.
inline void StartHeadless(QProcess& p, const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    p.setProcessEnvironment(env);
    p.start(KELVARO32, args);
}

struct Outcome {
    int status;  // -1: it did not end by itself in time
    QByteArray out, err;
};
inline Outcome RunHeadless(const QStringList& args) {
    QProcess p;
    StartHeadless(p, args);
    const bool ended = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit;
    return {ended ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

// The simulator with one head on A whose readings scatter, so that every
// reading is told apart from its neighbours.
inline QStringList ScatteringHead(const QString& model, const QString& head) {
    return {"--model", model, "--head-a",         head + ",serial=4711,value=0.0125,noise=0.2",
            "--seed",  "7",   "--exit-when-idle", "30"};
}
inline const QStringList kScatteringThermopile = ScatteringHead("talon", "type=1,name=XLP12");

// A ports file with the given ports; every other one leads nowhere (this
// machine has serial devices of its own).
inline QByteArray PortsFile(const QMap<int, QString>& ports) {
    QByteArray text;
    for (int n = 1; n <= 16; ++n)
        text += "COM" + QByteArray::number(n) + " " +
                ports.value(n, "/nonexistent/tty" + QString::number(n)).toUtf8() + "\n";
    return text;
}

// Real I/O: events are processed until `done` holds or the time is up (the
// main window's Timer2 wakes the loop every 10 ms).
template <class Done>
bool RunUntil(Done done, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

struct DataLine {
    float value;
    double time;
    float b = 0;  // channel B of a two-channel file
};

// A saved data file: its header line, and its data lines in the user's
// decimal notation, with a time (power) or an empty second field (energy);
// a two-channel power file has channel B before the time. Every line must
// end with CR LF and read back.
inline std::pair<std::string, std::vector<DataLine>> ReadDataFile(const QByteArray& file, bool timed = true,
                                                                  bool dual = false) {
    const QByteArray bare = QByteArray(file).replace("\r\n", "");
    EXPECT_TRUE(file.endsWith("\r\n") && !bare.contains('\r') && !bare.contains('\n'));
    const QStringList lines = QString::fromLatin1(file).split("\r\n");
    std::vector<DataLine> out;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        QStringList f = QString(lines[i]).replace(DecimalSeparator(), ".").split('\t');
        bool okValue = false, okB = !dual;
        const float b = dual ? f.takeAt(1).trimmed().toFloat(&okB) : 0.0f;
        bool okTime = !timed && f.value(1).isEmpty();
        const DataLine d{f[0].trimmed().toFloat(&okValue), timed ? f.value(1).toDouble(&okTime) : 0.0, b};
        EXPECT_TRUE(f.size() == 2 && okValue && okB && okTime)
            << "line " << i << ": " << lines[i].toStdString();
        out.push_back(d);
    }
    return {lines[0].toStdString(), out};
}

// The value of each reply to `command` in the traffic log, in order; replies
// without a value ("N": no new one) are left out.
inline std::vector<float> Replies(const QByteArray& trafficLog, const QString& command) {
    const QRegularExpression reply("\\$" + command + R"(<CR>\r\n\*([^<\r\n]+)<CR>)");
    std::vector<float> sent;
    for (const auto& m : reply.globalMatch(QString::fromLatin1(trafficLog)))
        if (!m.captured(1).contains('N')) sent.push_back(m.captured(1).toFloat());
    return sent;
}

// The saved values are the meter's replies of one connection after another
// (`replies`: each connection's, in order), none lost or repeated across the
// returns: of each connection's replies the first may open the cycle
// unsaved, and up to `after` may come after the last one kept.
inline void ExpectSentAcrossReturns(const std::vector<DataLine>& data,
                                    const std::vector<std::vector<float>>& replies, size_t after) {
    size_t at = 0;
    for (size_t c = 0; c < replies.size(); ++c) {
        const std::vector<float>& sent = replies[c];
        size_t best = 0, skipped = 0;
        for (size_t skip = 0; skip < 2 && skip < sent.size(); ++skip) {
            size_t n = 0;
            while (at + n < data.size() && skip + n < sent.size() && data[at + n].value == sent[skip + n])
                ++n;
            if (n > best) {
                best = n;
                skipped = skip;
            }
        }
        EXPECT_LE(sent.size() - skipped - best, after)
            << "connection " << c + 1 << ": readings lost at line " << at + best + 2;
        at += best;
    }
    EXPECT_EQ(at, data.size()) << "saved readings the meter never sent";
}

// A main window on the simulator as COM1, in a folder of its own, with its
// working files there too; the parameter, where there is one, is the mode
// to log, or a row of a table.
template <class Param>
class EndToEndFixture : public ::testing::TestWithParam<Param> {
protected:
    explicit EndToEndFixture(const QStringList& simulatorArgs) : sim(simulatorArgs) {}
    void SetUp() override {
        FreshProgramState();
        ASSERT_TRUE(sim.path.startsWith("/dev/")) << sim.path.toStdString();
        dir.Write("kelvaro.ports", PortsFile({{1, sim.path}}));
    }
    void TearDown() override {
        if (Meter().Connected) Disconnect();
        form.reset();
        platform::setCommandLinePort({});
        FreshProgramState();
    }

    void Start() {
        form = std::make_unique<MainWindow>();
        ASSERT_TRUE(form->MDIForm_Load());
        WorkFiles().WorkFileName = dir.Path("kelvaro.pwr");
        WorkFiles().EnergyWorkFile = dir.Path("kelvaro.nrg");
        form->ShowAndConnect();
        QCoreApplication::processEvents();  // the connect, posted to the event loop
    }

    // Starts and connects until the Mode item `modeItem` is enabled: a busy
    // machine can keep an answer past the probe's 20 ms or a reply past its
    // time-out during identification, and the user connects again.
    bool StartConnected(const QString& modeItem) {
        Start();
        auto ready = [&] { return Meter().Connected && form->action(modeItem)->isEnabled(); };
        for (int attempt = 1; attempt < 3 && !ready(); ++attempt) {
            if (Meter().Connected) form->mnuConnect_Click();
            form->mnuConnect_Click();
        }
        prompts.messages.clear();
        return ready();
    }

    QByteArray Save(const QString& name) {
        prompts.fileAnswers.push_back(dir.Path(name));
        FileCommand(0);
        return dir.Read(name);
    }

    std::string Log() const { return prompts.Texts().join(" | ").toStdString(); }

    Simulator sim;
    TempDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> form;
};
using EndToEndTest = EndToEndFixture<bool>;
