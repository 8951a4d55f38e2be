// Energy logging speed: one pulse through parse, bin, statistics and store
// (and with its histogram bar drawn), one energy ratio pulse pair, a full histogram redraw, saving a full
// 60000-reading store, and pulses per second end to end against
// kelvaro-meter-sim --instant over a pseudo-terminal (three round trips a
// pulse: "ER", "EF", "SE").
#include "auxiliary/NotesWindow.h"
#include "data/NumberFormat.h"
#include "dual/EnergyRatioEngine.h"
#include "energy/EnergyEngine.h"
#include "link/Link.h"
#include "platform/ImageSurface.h"
#include "platform/PortTable.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "tests/support/ProgramState.h"
#include "tests/support/QuietPlatform.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <memory>
#include "MeterSimProcess.h"

namespace {

StepClock g_clock{3600};
FeedPort g_port;
QuietPrompts g_prompts;

std::vector<QString> Replies() {
    std::vector<QString> r;
    for (int i = 0; i < 1000; ++i)
        r.push_back("*" + QString::number(5e-3 * (1 + 0.3 * std::sin(i * 0.37)), 'E', 3) + "\r");
    return r;
}

// A pyroelectric head on the TALON: every reply is a pulse energy.
void Prepare(EnergyEngine& engine, int16_t bins) {
    FreshProgramState();
    AppState& app = App();
    TestMeter().Connected = true;
    app.ActiveMode = ModeEnergy;
    TestMeter().Channels[0].HeadType = HeadKind::Pyroelectric;
    CurrentSettings().Energy.EnergyLowLimit = 0;
    CurrentSettings().Energy.EnergyHighLimit = 0.01;
    CurrentSettings().Energy.EnergyBinsCount = bins;
    CurrentSettings().Energy.EnergyStorageMode = 1;  // the ring never fills up
    engine.StartEnergy();
    engine.Start();
    QString first = "*\r";
    engine.EnergyLog(0, first);
}

void Run(benchmark::State& state, EnergyEngine& engine) {
    const std::vector<QString> replies = Replies();
    size_t i = 0;
    for (auto _ : state) {
        g_clock.Advance(0.001);
        QString line = replies[i++ % replies.size()];
        engine.EnergyLog(0, line);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
}

void BM_Pulse(benchmark::State& state) {
    EnergyEngine engine;
    Prepare(engine, 20);
    Run(state, engine);
}
BENCHMARK(BM_Pulse)->Unit(benchmark::kMicrosecond);

void BM_PulseWithBar(benchmark::State& state) {
    EnergyEngine engine;
    platform::ImageSurface surface(QSize(860, 440), 1.0);
    auto redraw = [&] {
        FitHistogramToPixels(engine.Hist, surface.LogicalSize());
        engine.DrawWholeHistogram(surface, {});
    };
    engine.View.BarAdded = [&](int bin) {
        DrawHistogramBar(bin, redraw, surface, engine.Hist, engine.YScale);
    };
    Prepare(engine, 20);
    redraw();
    Run(state, engine);
    state.counters["yscale"] = engine.YScale;
}
BENCHMARK(BM_PulseWithBar)->Unit(benchmark::kMicrosecond);

void BM_FullHistogramRedraw(benchmark::State& state) {
    EnergyEngine engine;
    Prepare(engine, int16_t(state.range(0)));
    const std::vector<QString> replies = Replies();
    for (int i = 0; i < 60000; ++i) {
        QString line = replies[size_t(i) % replies.size()];
        engine.EnergyLog(0, line);
    }
    platform::ImageSurface surface(QSize(860, 440), 2.0);
    FitHistogramToPixels(engine.Hist, surface.LogicalSize());
    for (auto _ : state) engine.DrawWholeHistogram(surface, {});
}
BENCHMARK(BM_FullHistogramRedraw)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_SaveFullStore(benchmark::State& state) {
    SetDecimalSeparator(".");
    QTemporaryDir dir;
    EnergyEngine engine;
    Prepare(engine, 20);
    CurrentSettings().Energy.EnergyTimeStamp = state.range(0) != 0;
    const std::vector<QString> replies = Replies();
    for (int i = 0; i < 60005; ++i) {
        g_clock.Advance(0.001);
        QString line = replies[size_t(i) % replies.size()];
        engine.EnergyLog(0, line);
    }
    const QString name = dir.filePath("full.nrg");
    for (auto _ : state) engine.EnergySave(name);
    state.counters["records"] = engine.Store().Count();
}
BENCHMARK(BM_SaveFullStore)->ArgName("timestamp")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One dual pulse pair (both channels in one "SB" reply) through parse,
// pairing, both ratios, store, both statistics and the working-file line.
void BM_DualPulsePair(benchmark::State& state) {
    FreshProgramState();
    TestMeter().Connected = true;
    App().ActiveMode = ModeEnergyRatio;
    CurrentSettings().EnergyRatio.RatioStorageMode = 1;  // the ring never fills up
    EnergyRatioEngine engine;
    engine.Start();
    QString first = "*N N\r";
    engine.EnergyRatioLog(0, first);
    std::vector<QString> replies;
    for (int i = 0; i < 1000; ++i)
        replies.push_back("*" + QString::number(5e-3 * (1 + 0.3 * std::sin(i * 0.37)), 'E', 3) + " " +
                          QString::number(4e-3 * (1 + 0.3 * std::cos(i * 0.23)), 'E', 3) + "\r");
    size_t i = 0;
    for (auto _ : state) {
        g_clock.Advance(0.001);
        QString line = replies[i++ % replies.size()];
        engine.EnergyRatioLog(0, line);
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
    state.counters["stored"] = engine.Store().Count();
}
BENCHMARK(BM_DualPulsePair)->Unit(benchmark::kMicrosecond);

// Each iteration waits for one more pulse; the rate is pulses per second.
void EnergyEngineOverPty(benchmark::State& state) {
    QProcess sim;
    QTemporaryDir work;
    const QString path = StartSimulator(sim, "type=1,name=XLP12,serial=1,value=0.005,noise=0.1,rate=1000000");
    QTimer timer2;
    QObject::connect(&timer2, &QTimer::timeout, [] { Timer2_Timer(); });
    timer2.start(10);
    FreshProgramState();
    platform::setSerialPort(nullptr);
    platform::setClock(nullptr);
    App().Shell.ProcessEvents = [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); };
    platform::portTable().Override("COM1 " + path + "\n");
    CurrentSettings().CommPort = 1;
    CurrentSettings().LogToFile = state.range(0) != 0;
    WorkFiles().EnergyWorkFile = QDir(work.path()).filePath("kelvaro.nrg");
    auto engine = std::make_unique<EnergyEngine>();
    bool ok = !path.isEmpty() && Connect();
    if (ok) {
        IdentifyInstrument();
        ok = Meter().Channels[0].HeadType == HeadKind::Thermopile;
    }
    if (!ok) {
        state.SkipWithError("no energy mode on the simulator");
    } else {
        App().ActiveMode = ModeEnergy;
        StartMeasurement(true, "FE");
        Modes().Register(ModeEnergy, *engine);
        engine->StartEnergy();
        engine->Start();
        for (auto _ : state) {
            const int64_t before = engine->Stats().Count;
            while (engine->Stats().Count == before)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        state.counters["pulses/s"] =
            benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
        engine->Stop();
    }
    if (Meter().Connected) Disconnect();
    App().Shell = ShellHooks{};
    engine.reset();
    StopSimulator(sim);
    platform::setClock(&g_clock);
    platform::setSerialPort(&g_port);
}
BENCHMARK(EnergyEngineOverPty)->ArgName("workfile")->Arg(0)->Arg(1)->UseRealTime()->MinTime(3.0);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // fonts, and the notes window the save writes from
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    platform::setClock(&g_clock);
    platform::setSerialPort(&g_port);
    platform::setPrompts(&g_prompts);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
