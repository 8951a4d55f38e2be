#pragma once

#include "dual/EnergyRatioEngine.h"
#include "state/Configuration.h"
#include "support/RecordingMode.h"
#include "tests/energy/MeterHarness.h"
#include "tests/sim/SimTestUtil.h"

// The meter with two channels, a pyroelectric head on each, and an energy
// ratio engine installed as the window of mode 13.
class EnergyRatioTest : public MeterTest {
protected:
    void SetUp() override {
        MeterTest::SetUp();
        WorkFiles().RatioWorkFile = dir.Path(QStringLiteral("kelvaro.dnr"));
        mode.RegisterAs(ModeEnergyRatio);
        mode.Entry = [this](int op, QString& text) { engine->EnergyRatioLog(op, text); };
        mode.OnSave = [this](const QString& name) { engine->EnergyRatioSave(name); };
        UseMeter(Config(
            "--model meridel2 --head-a type=2,name=PE25,serial=4711 --head-b type=2,name=PE10,serial=815"));
        App().ActiveMode = ModeEnergyRatio;
    }
    // A reply's text after the "*", handed to the engine `dt` seconds after the last.
    void Reply(const QString& tokens, double dt = 0.5) {
        clock.Advance(dt);
        QString line = QStringLiteral("*") + tokens + QLatin1Char('\r');
        engine->EnergyRatioLog(0, line);
    }
    void StartRun() {
        engine->StartStop();
        Reply(QStringLiteral("N N"), 0);  // the first reply of a run only clears the read-out
    }

    std::unique_ptr<EnergyRatioEngine> engine = std::make_unique<EnergyRatioEngine>();
    RecordingMode mode;  // forwards to whichever engine the test has made
};
