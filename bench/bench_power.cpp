// Power logging speed: one reading through parse, merge, statistics and the
// working-file line (with and without the file itself), the same with the
// incremental chart drawing, and a full redraw of a full 6000-point store.
#include "EngineRuns.h"
#include "data/LogLines.h"
#include "data/NumberFormat.h"
#include "data/Units.h"
#include "link/LinkState.h"
#include "platform/Clock.h"
#include "platform/ImageSurface.h"
#include "platform/SerialPort.h"
#include "power/PowerEngine.h"
#include "state/AppState.h"
#include "state/Configuration.h"
#include "tests/support/ProgramState.h"
#include "tests/support/QuietPlatform.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cmath>

namespace {

StepClock g_clock{3600};
FeedPort g_port;
QuietPrompts g_prompts;  // a finished run is reset without asking

// Replies as the meter sends them, a thousand different values.
std::vector<QString> Replies() {
    std::vector<QString> r;
    for (int i = 0; i < 1000; ++i)
        r.push_back(QStringLiteral("*") + QString::number(0.25 + 0.2 * std::sin(i * 0.05), 'E', 3) +
                    QLatin1Char('\r'));
    return r;
}

void Prepare(bool logToFile, const QString& workFile) {
    FreshProgramState();
    TestMeter().Connected = true;
    TestMeter().Channels[0].HeadType = HeadKind::Thermopile;
    TestMeter().Channels[0].ReadingUnit = QStringLiteral("W");
    CurrentSettings().Power.LogTime = 600;  // merging: 0.1 s per point
    CurrentSettings().LogToFile = logToFile;
    WorkFiles().WorkFileName = workFile;
}

// Readings 20 ms apart; a run that ends is started afresh off the clock.
void Run(benchmark::State& state, PowerEngine& engine) {
    FeedReplies(state, engine, Replies(), QStringLiteral("*0\r"), g_clock);
}

void BM_Reading(benchmark::State& state) {
    QTemporaryDir dir;
    Prepare(state.range(0) != 0, dir.filePath(QStringLiteral("kelvaro.pwr")));
    PowerEngine engine;
    engine.View.TrialReading = [] {};
    Run(state, engine);
}
BENCHMARK(BM_Reading)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The working-file line alone: what is formatted for every reading.
void BM_WorkFileLine(benchmark::State& state) {
    SetDecimalSeparator(QStringLiteral("."));
    double t = 0;
    for (auto _ : state) {
        t += 0.02;
        benchmark::DoNotOptimize(FormatLogLine(0.0012345f, t, true));
    }
}
BENCHMARK(BM_WorkFileLine)->Unit(benchmark::kMicrosecond);

void BM_ReadingWithChart(benchmark::State& state) {
    QTemporaryDir dir;
    Prepare(state.range(0) != 0, dir.filePath(QStringLiteral("kelvaro.pwr")));
    PowerEngine engine;
    platform::ImageSurface surface(QSize(900, 480), 1.0);
    engine.View.TrialReading = [] {};
    engine.View.Redraw = [&] {
        FitChartToPixels(engine.Chart, surface.LogicalSize());
        engine.DrawWholeChart(surface);
    };
    engine.View.PointAdded = [&](const ChartPoint& p) { DrawChartPoint(engine.Chart, surface, p); };
    Run(state, engine);
}
BENCHMARK(BM_ReadingWithChart)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FullRedraw6000(benchmark::State& state) {
    Prepare(false, QString());
    CurrentSettings().Power.LogTime = 600;
    PowerEngine engine;
    engine.View.TrialReading = [] {};
    engine.StartStop();
    engine.PowerLog(0, QStringLiteral("*0\r"));
    const std::vector<QString> replies = Replies();
    for (int i = 0; engine.Store().PointCount < 5999; ++i) {
        g_clock.Advance(0.1);
        engine.PowerLog(0, replies[size_t(i) % replies.size()]);
    }
    platform::ImageSurface surface(QSize(900, 480), state.range(0) / 10.0);
    FitChartToPixels(engine.Chart, surface.LogicalSize());
    for (auto _ : state) engine.DrawWholeChart(surface);
    state.counters["points"] = engine.PointsOnShow();
}
BENCHMARK(BM_FullRedraw6000)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts need it
    platform::setClock(&g_clock);
    platform::setPrompts(&g_prompts);
    platform::setSerialPort(&g_port);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
