#pragma once

// Shared by the tests that run against the simulator program over a
// pseudo-terminal, on the real clock.

#include "app/MDIForm1.h"
#include "data/FileCommand.h"
#include "data/NumberFormat.h"
#include "link/Link.h"
#include "state/AppState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <memory>
#include <vector>

// The simulator program on its terminal, ended with the test.
class Simulator {
public:
    explicit Simulator(const QStringList& args) {
        proc_.start(KELVARO_METER_SIM, args);
        while (proc_.waitForStarted(5000) && !proc_.canReadLine() && proc_.waitForReadyRead(5000)) {
        }
        path_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();
    }
    ~Simulator() {
        proc_.terminate();
        if (!proc_.waitForFinished(3000)) proc_.kill();
    }
    QString Path() const { return path_; }

private:
    QProcess proc_;
    QString path_;
};

// A TALON with a thermopile whose readings scatter, so that every reading is
// told apart from its neighbours.
inline const QStringList kScatteringThermopile = {
    "--model", "talon", "--head-a",         "type=1,name=XLP12,serial=4711,value=0.0125,noise=0.2",
    "--seed",  "7",     "--exit-when-idle", "30"};

// A ports file with the given ports; every other one leads nowhere (this
// machine has serial devices of its own).
inline QByteArray PortsFile(std::initializer_list<std::pair<int, QString>> ports) {
    QByteArray text;
    for (int n = 1; n <= 16; ++n) {
        QString device = "/nonexistent/tty" + QString::number(n);
        for (const auto& [com, path] : ports)
            if (com == n) device = path;
        text += QString("COM%1 %2\n").arg(n).arg(device).toUtf8();
    }
    return text;
}
inline QByteArray PortsFile(const QString& com1) {
    return PortsFile({{1, com1}});
}

// Real I/O: events are processed until `done` holds or the time is up.
template <class Done>
bool RunUntil(Done done, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        // The main window's Timer2 wakes the loop every 10 ms.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void RunFor(int milliseconds) {
    RunUntil([] { return false; }, milliseconds);
}

struct DataLine {
    float value;
    double time;
};

// A saved power file: its header line, and its data lines in the user's
// decimal notation. Every line must end with CR LF and read back.
inline std::vector<DataLine> ReadPowerFile(const QByteArray& file, std::string& header) {
    EXPECT_TRUE(file.endsWith("\r\n"));
    EXPECT_EQ(file.count("\r\n"), file.count('\n'));
    EXPECT_EQ(file.count("\r\n"), file.count('\r'));
    const QList<QByteArray> lines = file.split('\n');
    header = lines[0].chopped(qMin(qsizetype(1), lines[0].size())).toStdString();
    std::vector<DataLine> out;
    const QString sep = DecimalSeparator();
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].chopped(1).split('\t');
        bool okValue = false, okTime = false;
        DataLine d{};
        if (fields.size() == 2) {
            d.value = QString::fromLatin1(fields[0]).trimmed().replace(sep, ".").toFloat(&okValue);
            d.time = QString::fromLatin1(fields[1]).replace(sep, ".").toDouble(&okTime);
        }
        if (okValue && okTime)
            out.push_back(d);
        else
            ADD_FAILURE() << "line " << i << ": " << lines[i].toStdString();
    }
    return out;
}

// The saved readings are the meter's replies to "SP" in the traffic log, in
// order, none lost or repeated: the first reply of a run is discarded, and
// one more may come after the last reading kept.
inline void ExpectSentReadings(const std::vector<DataLine>& data, const QByteArray& trafficLog) {
    static const QRegularExpression reply(R"(\$SP<CR>\r\n\*([^<\r\n]*)<CR>)");
    std::vector<float> sent;
    for (const auto& m : reply.globalMatch(QString::fromLatin1(trafficLog)))
        sent.push_back(m.captured(1).toFloat());
    ASSERT_GE(sent.size(), data.size() + 1);
    EXPECT_LE(sent.size(), data.size() + 2);
    for (size_t i = 0; i < data.size(); ++i) ASSERT_EQ(data[i].value, sent[i + 1]) << "reading " << i + 1;
}

// A main window on the simulator as COM1, in a folder of its own; the
// parameter is the Data Log File switch.
class EndToEndTest : public ::testing::TestWithParam<bool> {
protected:
    explicit EndToEndTest(const QStringList& simulatorArgs) : sim(simulatorArgs) {}
    void SetUp() override {
        ResetFileDialogMemory();
        ASSERT_TRUE(sim.Path().startsWith("/dev/")) << sim.Path().toStdString();
        dir.Write("kelvaro.ports", PortsFile(sim.Path()));
    }
    void TearDown() override {
        if (App().Connected) Disconnect();
        form.reset();
        ResetAppState();
        ResetLinkState();
        ResetFileDialogMemory();
    }

    // Starts the window and connects until the Mode item `modeItem` is
    // enabled: a busy machine can keep an answer past the probe's 20 ms or a
    // reply past its time-out during identification, and the user connects
    // again.
    bool StartConnected(const QString& modeItem, const std::function<void()>& beforeConnect = {}) {
        form = std::make_unique<MDIForm1>();
        if (!form->MDIForm_Load()) return false;
        if (beforeConnect) beforeConnect();
        form->ShowAndConnect();
        QCoreApplication::processEvents();  // the connect, posted to the event loop
        auto ready = [&] { return App().Connected && form->action(modeItem)->isEnabled(); };
        for (int attempt = 1; attempt < 3 && !ready(); ++attempt) {
            if (App().Connected) form->mnuConnect_Click();
            form->mnuConnect_Click();
        }
        prompts.messages.clear();
        return ready();
    }

    Simulator sim;
    TempDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<MDIForm1> form;
};
