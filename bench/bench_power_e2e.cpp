// Power logging end to end: readings per second through the real serial port,
// the link and the power engine (or the whole power window) against
// kelvaro-meter-sim --instant over a pseudo-terminal, and a raw "$SP" loop on
// the same kind of terminal for comparison.

#include "link/Link.h"
#include "link/MeterIdentity.h"
#include "platform/PortTable.h"
#include "power/PowerEngine.h"
#include "power/PowerWindow.h"
#include "state/AppState.h"
#include "state/Configuration.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include "EngineRuns.h"
#include "MeterSimProcess.h"

namespace {

// Connected, identified and in power mode on COM1, as the main window leaves
// the link before the power window's Start. False when any step failed.
bool EnterPowerMode(const QString& path, const QString& workFolder, bool logToFile) {
    if (!ConnectOnCom1(path)) return false;
    // One point per reading for the whole measurement.
    CurrentSettings().Power.LogTime = 299;
    CurrentSettings().LogToFile = logToFile;
    WorkFiles().WorkFileName = QDir(workFolder).filePath("kelvaro.pwr");
    IdentifyInstrument();
    if (Meter().Channels[0].HeadType != HeadKind::Thermopile) return false;
    App().ActiveMode = ModePower;
    StartMeasurement(true, "FP");
    return Meter().Connected;
}

// The engine alone (no window); state.range(0) 1 = working file on.
void PowerEngineOverPty(benchmark::State& state) {
    QProcess sim;
    QTemporaryDir work;
    const QString path = StartSimulator(sim, "type=1,name=XLP12,serial=1,value=0.0125,noise=0.1");
    QTimer timer2;  // the reply time-out watch, as the main window runs it
    QObject::connect(&timer2, &QTimer::timeout, [] { Timer2_Timer(); });
    timer2.start(10);
    if (path.isEmpty() || !EnterPowerMode(path, work.path(), state.range(0) != 0)) {
        state.SkipWithError("no power mode on the simulator");
        LeaveLink();
        StopSimulator(sim);
        return;
    }
    auto engine = std::make_unique<PowerEngine>();
    Modes().Register(ModePower, *engine);
    engine->PowerLog(-1, QString());
    engine->Start();
    CountReadings(state, [&engine] { return engine->Stats().Count; });
    engine->Stop();
    LeaveLink();
    StopSimulator(sim);
}
BENCHMARK(PowerEngineOverPty)->ArgName("workfile")->Arg(0)->Arg(1)->UseRealTime()->MinTime(3.0);

// The power window with its read-out and incremental strip chart.
void PowerWindowOverPty(benchmark::State& state) {
    QProcess sim;
    QTemporaryDir work;
    const QString path = StartSimulator(sim, "type=1,name=XLP12,serial=1,value=0.0125,noise=0.1");
    QTimer timer2;
    QObject::connect(&timer2, &QTimer::timeout, [] { Timer2_Timer(); });
    timer2.start(10);
    if (path.isEmpty() || !EnterPowerMode(path, work.path(), false)) {
        state.SkipWithError("no power mode on the simulator");
        LeaveLink();
        StopSimulator(sim);
        return;
    }
    auto window = std::make_unique<PowerWindow>();
    window->resize(800, 500);
    window->show();
    Modes().Register(ModePower, window->Engine);
    QString none;
    window->PowerLog(-1, none);
    window->butStartStop->click();
    CountReadings(state, [&window] { return window->Engine.Stats().Count; });
    window->butStartStop->click();
    LeaveLink();
    window.reset();
    StopSimulator(sim);
}
BENCHMARK(PowerWindowOverPty)->UseRealTime()->MinTime(3.0);

// The terminal's own round trip: "$SP" out, one reply line back.
void RawReadingsOverPty(benchmark::State& state) {
    QProcess sim;
    const QString path = StartSimulator(sim, "type=1,name=XLP12,serial=1,value=0.0125,noise=0.1");
    QSerialPort port(path);
    if (path.isEmpty() || !port.open(QIODevice::ReadWrite)) {
        state.SkipWithError("no terminal to the simulator");
        StopSimulator(sim);
        return;
    }
    port.setBaudRate(19200);
    for (auto _ : state) {
        port.write("$SP\r");
        QByteArray reply;
        while (!reply.endsWith('\n') && port.waitForReadyRead(1000)) reply += port.readAll();
    }
    state.counters["readings/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    port.close();
    StopSimulator(sim);
}
BENCHMARK(RawReadingsOverPty)->UseRealTime()->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    // The power window is drawn off screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // kelvaro.cfg and rs232.buf land in a folder of their own.
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
