#pragma once

// What the end-to-end tests share: the simulator program on a pseudo-terminal,
// the kelvaro.ports file that makes it COM1, and waiting on real I/O.

#include "app/MDIForm1.h"
#include "data/FileCommand.h"
#include "link/Link.h"
#include "state/AppState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// The simulator program on its terminal, ended with the test.
class Simulator {
public:
    explicit Simulator(const QStringList& args) {
        proc_.start(KELVARO_METER_SIM, args);
        if (!proc_.waitForStarted(5000)) return;
        while (!proc_.canReadLine() && proc_.waitForReadyRead(5000)) {
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

// COM1 is the simulator; every other port leads nowhere (this machine has
// serial devices of its own).
inline QByteArray PortsFile(const QString& com1) {
    QByteArray text = "COM1 " + com1.toUtf8() + "\n";
    for (int n = 2; n <= 16; ++n) text += QString("COM%1 /nonexistent/tty%1\n").arg(n).toUtf8();
    return text;
}

// Real I/O: events are processed until `done` holds or the time is up.
template <class Done>
bool RunUntil(Done done, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        // Timer2 wakes the loop every 10 ms.
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

inline void RunFor(int milliseconds) {
    RunUntil([] { return false; }, milliseconds);
}

// A main window connected to the simulator on COM1, in a folder of its own;
// the parameter is the Data Log File switch.
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

    Simulator sim;
    TempDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<MDIForm1> form;
};
