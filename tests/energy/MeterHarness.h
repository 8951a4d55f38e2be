#pragma once

#include "auxiliary/NotesWindow.h"
#include "data/FileCommand.h"
#include "data/NumberFormat.h"
#include "data/WorkFile.h"
#include "link/Link.h"
#include "link/MeterIdentity.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "support/FakeClock.h"
#include "support/ProgramState.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <initializer_list>
#include <memory>

// A saved data line: each value padded to 18 characters and a TAB, then the time stamp and CR LF.
inline QByteArray DataLine(std::initializer_list<QByteArray> values, const QByteArray& time) {
    QByteArray line;
    for (const QByteArray& v : values) line += v + QByteArray(18 - v.size(), ' ') + '\t';
    return line + time + "\r\n";
}

// The in-memory meter on COM1, the fake clock, scripted prompts and a
// temporary folder; the timer tick runs whenever the program waits.
class MeterTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreshProgramState();
        SetDecimalSeparator(QStringLiteral("."));
        SetPause([this](double s) { clock.Advance(s); });
        AppState& app = App();
        CurrentSettings().CommPort = 1;
        app.Shell.ProcessEvents = [this] { Tick(); };
        app.Shell.LogFileOnOffEnable = [](bool) {};
        app.Shell.SaveFile = [] { FileCommand(FileSave); };
    }
    void TearDown() override {
        Notes().ClearNotesBox();
        WorkFile(2, QString());
        platform::setSerialPort(nullptr);
        SetPause({});
        SetDecimalSeparator(QString());
        FreshProgramState();
    }
    void UseMeter(const sim::MeterConfig& cfg) {
        if (Meter().Connected) Disconnect();
        meter = std::make_unique<sim::Meter>(cfg);
        port = std::make_unique<sim::SimSerialPort>(*meter, [this](double s) { clock.Advance(s); });
        platform::setSerialPort(port.get());
        ASSERT_TRUE(Connect());
        IdentifyInstrument();
    }
    void Tick() {
        clock.Advance(0.01);
        port->Pump();
        Timer2_Timer();
    }

    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    std::unique_ptr<sim::Meter> meter;
    std::unique_ptr<sim::SimSerialPort> port;
};
