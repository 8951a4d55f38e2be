#pragma once

#include "MeterHarness.h"
#include "energy/EnergyEngine.h"
#include "link/MeterIdentity.h"
#include "state/Configuration.h"

// The meter with one head and an energy engine registered as modes 3 and 7.
class EnergyTest : public MeterTest {
protected:
    void SetUp() override {
        MeterTest::SetUp();
        WorkFiles().EnergyWorkFile = dir.Path(QStringLiteral("kelvaro.nrg"));
        App().Shell.LogFileOnOffEnable = [this](bool e) { logFileEnabled.push_back(e); };
        Modes().Register(ModeEnergy, engine);
        Modes().Register(ModeRapidPulse, engine);
    }
    // Connects to and identifies a meter with this head on channel A.
    void UseMeter(sim::Model model, int headType) {
        MeterTest::UseMeter({model, {}, 19200, {sim::HeadSpec{headType, QStringLiteral("PE25"), 4711}}});
        ASSERT_EQ(Meter().Channels[0].HeadType, HeadKind(headType));
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

    EnergyEngine engine;
    std::vector<bool> logFileEnabled;
    int sentBefore = 0;
};
