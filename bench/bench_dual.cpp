// Power ratio logging speed: one two-channel reading through parse, pairing,
// both ratios, merge, statistics and the working-file line; and readings per
// second end to end against kelvaro-meter-sim --instant as a two-channel
// meter over a pseudo-terminal.

#include "dual/DualPowerProfiles.h"
#include "link/Link.h"
#include "link/LinkState.h"
#include "platform/Clock.h"
#include "platform/PortTable.h"
#include "platform/SerialPort.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "tests/support/ProgramState.h"
#include "tests/support/QuietPlatform.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <memory>
#include "EngineRuns.h"
#include "MeterSimProcess.h"

namespace {

StepClock g_clock{3600};
QuietPrompts g_prompts;  // a finished run is reset without asking

// "SB" replies as the meter sends them, a thousand different pairs; every
// tenth carries channel A alone and is paired with the next one's B.
std::vector<QString> Replies() {
    std::vector<QString> r;
    for (int i = 0; i < 1000; ++i) {
        const QString a = QString::number(0.25 + 0.2 * std::sin(i * 0.05), 'E', 3);
        const QString b = QString::number(0.12 + 0.1 * std::cos(i * 0.03), 'E', 3);
        r.push_back("*" + a + " " + (i % 10 == 0 ? QStringLiteral("N") : b) + "\r");
    }
    return r;
}

// Readings 20 ms apart over merged points (600 s); a run that ends is
// started afresh off the clock. state.range(0) 1: the working file is on.
void BM_DualReading(benchmark::State& state) {
    FeedPort port;
    platform::setSerialPort(&port);
    QTemporaryDir dir;
    FreshProgramState();
    TestMeter().Connected = true;
    CurrentSettings().PowerRatio.RatioLogTime = 600;
    CurrentSettings().LogToFile = state.range(0) != 0;
    WorkFiles().PowerRatioWorkFile = dir.filePath("kelvaro.dpw");
    PowerEngine engine(kPowerRatioProfile);
    FeedReplies(state, engine, Replies(), QStringLiteral("*0 0\r"), g_clock);
    platform::setSerialPort(nullptr);
}
BENCHMARK(BM_DualReading)->ArgName("workfile")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Ratio mode on the simulator, as the mode switch enters it (the window
// first), then readings as fast as the link delivers them.
void DualEngineOverPty(benchmark::State& state) {
    platform::setClock(nullptr);  // the real clock
    QProcess sim;
    const QString path = StartSimulatorAs(
        sim, {"--model", "meridel2", "--head-a", "type=1,name=XLP12,serial=1,value=0.0125,noise=0.1",
              "--head-b", "type=1,name=UP19,serial=2,value=0.005,noise=0.1"});
    QTimer timer2;  // the reply time-out watch, as the main window runs it
    QObject::connect(&timer2, &QTimer::timeout, [] { Timer2_Timer(); });
    timer2.start(10);
    const bool ready = !path.isEmpty() && ConnectOnCom1(path) &&
                       (IdentifyInstrument(), Meter().Channels[1].HeadType == HeadKind::Thermopile);
    CurrentSettings().PowerRatio.RatioLogTime = 299;  // one point per reading
    auto engine = std::make_unique<PowerEngine>(kPowerRatioProfile);
    if (!ready) {
        state.SkipWithError("no two-channel meter on the simulator");
        LeaveLink();
        StopSimulator(sim);
        return;
    }
    App().ActiveMode = ModePowerRatio;
    Modes().Register(ModePowerRatio, *engine);
    engine->PowerLog(-1, QString());
    StartMeasurement(true, "FC 3 0 0");
    engine->Start();
    CountReadings(state, [&engine] { return engine->Stats(0).Count; });
    engine->Stop();
    LeaveLink();
    StopSimulator(sim);
    platform::setClock(&g_clock);
}
BENCHMARK(DualEngineOverPty)->UseRealTime()->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // kelvaro.cfg and rs232.buf land in a folder of their own.
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    platform::setClock(&g_clock);
    platform::setPrompts(&g_prompts);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
