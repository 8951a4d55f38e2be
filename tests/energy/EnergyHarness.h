#pragma once

#include "auxiliary/NotesWindow.h"
#include "data/FileCommand.h"
#include "data/NumberFormat.h"
#include "data/WorkFile.h"
#include "energy/EnergyEngine.h"
#include "link/Link.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/AppState.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <QStringList>
#include <memory>

// The in-memory meter on COM1 with one head, the fake clock, scripted
// prompts, and an energy engine installed as the window of modes 3 and 7.
class EnergyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppState();
        ResetLinkState();
        ResetWorkFile();
        ResetFileDialogMemory();
        SetDecimalSeparator(QStringLiteral("."));
        SetPause([this](double s) { clock.Advance(s); });
        AppState& app = App();
        app.Config.CommPort = 1;
        app.EnergyWorkFile = dir.Path(QStringLiteral("kelvaro.nrg"));
        app.Shell.ProcessEvents = [this] { Tick(); };
        app.Shell.LogFileOnOffEnable = [this](bool e) { logFileEnabled.push_back(e); };
        app.Shell.FileCommand = [](int op) { FileCommand(int16_t(op)); };
        app.Shell.ModeEntry[ModeEnergy] = app.Shell.ModeEntry[ModeRapidPulse] =
            [this](int op, QString& text) { engine.EnergyLog(op, text); };
        app.Shell.FileOps[ModeEnergy].Save = [this](const QString& name) { engine.EnergySave(name); };
    }
    void TearDown() override {
        Notes().ClearNotesBox();
        WorkFile(2, QString());
        platform::setSerialPort(nullptr);
        SetPause({});
        SetDecimalSeparator(QString());
        ResetAppState();
        ResetLinkState();
    }

    // Connects to and identifies a meter with this head on channel A.
    void UseMeter(sim::Model model, int headType) {
        if (App().Connected) Disconnect();
        sim::MeterConfig cfg;
        cfg.model = model;
        cfg.heads[0].type = headType;
        cfg.heads[0].name = QStringLiteral("PE25");
        cfg.heads[0].serial = 4711;
        meter = std::make_unique<sim::Meter>(cfg);
        port = std::make_unique<sim::SimSerialPort>(*meter, [this](double s) { clock.Advance(s); });
        platform::setSerialPort(port.get());
        ASSERT_TRUE(Connect());
        IdentifyInstrument();
        ASSERT_EQ(App().Channels[0].HeadType, headType);
    }
    // What the mode switch does on entering energy (3) or rapid pulse (7), for this engine or another.
    void Enter(int16_t mode, const QString& command, EnergyEngine* other = nullptr) {
        App().ActiveMode = mode;
        App().ModeCommand = command;
        if (mode == ModeEnergy) StartMeasurement(true, command);
        (other ? *other : engine).StartEnergy();
        if (mode == ModeRapidPulse) StartMeasurement(true, command);
        sentBefore = int(meter->CommandsReceived().size());
    }
    void Tick() {
        clock.Advance(0.01);
        port->Pump();
        Timer2_Timer();
    }
    QStringList Sent() const { return meter->CommandsReceived().mid(sentBefore); }

    // A reply handed to the engine directly, `dt` seconds after the last.
    void Reply(const QString& text, double dt = 0.1) {
        clock.Advance(dt);
        QString line = text + QLatin1Char('\r');
        engine.EnergyLog(0, line);
    }
    void StartReadings() {  // the direct "SE" cycle
        engine.StartStop();
        Reply(QStringLiteral("*"));
    }

    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    std::unique_ptr<sim::Meter> meter;
    std::unique_ptr<sim::SimSerialPort> port;
    EnergyEngine engine;
    std::vector<bool> logFileEnabled;
    int sentBefore = 0;
};
