#pragma once

#include "auxiliary/NotesWindow.h"
#include "data/FileCommand.h"
#include "data/NumberFormat.h"
#include "data/WorkFile.h"
#include "dual/EnergyRatioEngine.h"
#include "link/Link.h"
#include "sim/Meter.h"
#include "sim/SimSerialPort.h"
#include "state/AppState.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

// The in-memory two-channel meter with a pyroelectric head on each channel,
// the fake clock, scripted prompts, and an energy ratio engine installed as
// the window of mode 13.
class EnergyRatioTest : public ::testing::Test {
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
        app.RatioWorkFile = dir.Path(QStringLiteral("kelvaro.dnr"));
        app.Shell.ProcessEvents = [this] {
            clock.Advance(0.01);
            port->Pump();
            Timer2_Timer();
        };
        app.Shell.LogFileOnOffEnable = [](bool) {};
        app.Shell.FileCommand = [](int op) { FileCommand(int16_t(op)); };
        app.Shell.ModeEntry[ModeEnergyRatio] = [this](int op, QString& text) {
            engine->EnergyRatioLog(op, text);
        };
        app.Shell.FileOps[ModeEnergyRatio].Save = [this](const QString& name) {
            engine->EnergyRatioSave(name);
        };
        sim::MeterConfig cfg;
        cfg.model = sim::Model::MeridelTwo;
        for (int c = 0; c < 2; ++c) {
            cfg.heads[size_t(c)].type = 2;
            cfg.heads[size_t(c)].name = c == 0 ? QStringLiteral("PE25") : QStringLiteral("PE10");
            cfg.heads[size_t(c)].serial = c == 0 ? 4711 : 815;
        }
        meter = std::make_unique<sim::Meter>(cfg);
        port = std::make_unique<sim::SimSerialPort>(*meter, [this](double s) { clock.Advance(s); });
        platform::setSerialPort(port.get());
        ASSERT_TRUE(Connect());
        IdentifyInstrument();
        app.ActiveMode = ModeEnergyRatio;
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
    // A reply's text after the "*", handed to the engine `dt` seconds after the last.
    void Reply(const QString& tokens, double dt = 0.5) {
        clock.Advance(dt);
        QString line = QStringLiteral("*") + tokens + QLatin1Char('\r');
        engine->EnergyRatioLog(0, line);
    }
    void StartRun() {
        engine->StartStop();
        QString first = QStringLiteral("*N N\r");  // the first reply of a run only clears the read-out
        engine->EnergyRatioLog(0, first);
    }

    FakeClock clock;
    ScriptedPrompts prompts;
    TempDir dir;
    std::unique_ptr<sim::Meter> meter;
    std::unique_ptr<sim::SimSerialPort> port;
    std::unique_ptr<EnergyRatioEngine> engine = std::make_unique<EnergyRatioEngine>();
};
