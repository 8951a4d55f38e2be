#pragma once

#include "dual/EnergyRatioEngine.h"
#include "state/Configuration.h"
#include "support/RecordingMode.h"
#include "tests/energy/MeterHarness.h"

// The meter with two channels, a pyroelectric head on each, and an energy
// ratio engine installed as the window of mode 13.
class EnergyRatioTest : public MeterTest {
protected:
    void SetUp() override {
        MeterTest::SetUp();
        AppState& app = App();
        WorkFiles().RatioWorkFile = dir.Path(QStringLiteral("kelvaro.dnr"));
        mode.RegisterAs(ModeEnergyRatio);
        mode.Entry = [this](int op, QString& text) { engine->EnergyRatioLog(op, text); };
        mode.OnSave = [this](const QString& name) { engine->EnergyRatioSave(name); };
        sim::MeterConfig cfg;
        cfg.model = sim::Model::MeridelTwo;
        for (int c = 0; c < 2; ++c) {
            cfg.heads[size_t(c)].type = 2;
            cfg.heads[size_t(c)].name = c == 0 ? QStringLiteral("PE25") : QStringLiteral("PE10");
            cfg.heads[size_t(c)].serial = c == 0 ? 4711 : 815;
        }
        UseMeter(cfg);
        app.ActiveMode = ModeEnergyRatio;
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

    std::unique_ptr<EnergyRatioEngine> engine = std::make_unique<EnergyRatioEngine>();
    RecordingMode mode;  // forwards to whichever engine the test has made
};
