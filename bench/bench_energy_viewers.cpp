// Energy viewers: 60000 energy lines fed through the load protocol and
// drawn for the first time (lines already in memory, and read from the file
// as the PC-file loader reads it), re-binning a 60000-value histogram, and
// 60000 dual energy lines fed and drawn in the energy ratio viewer.
#include "auxiliary/frmNotes.h"
#include "data/NumberFormat.h"
#include "state/AppState.h"
#include "tests/support/QuietPlatform.h"
#include "viewers/frmViewEnergy.h"
#include "viewers/frmViewNrgRto.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

namespace {

QuietPrompts g_prompts;
constexpr int kLines = 60000;

QStringList EnergyLines() {
    QStringList lines;
    for (int i = 0; i < kLines; ++i)
        lines << (i % 997 == 0 ? QStringLiteral("Overrange")
                               : SingleText(float(5e-3 * (1 + 0.3 * std::sin(i * 0.37)))));
    return lines;
}

QString EnergyFile() {
    const QString path = QDir::current().filePath("bench.nrg");
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(("Energy, in Joules \t,Missing Pulses Detection Off,\tHead: PE25\r\n" +
                 EnergyLines().join("\r\n") + "\r\n")
                    .toLatin1());
    return path;
}

// The load protocol from the first step to the first drawing, each iteration.
template <class Window>
void FeedAndDraw(benchmark::State& state, const QStringList& lines) {
    Window w;
    w.resize(900, 600);
    for (auto _ : state) {
        w.EnergyLoad(-1, "bench");
        for (const QString& line : lines) w.EnergyLoad(0, line);
        w.ShowEnergyData();
    }
}

void BM_EnergyFeedAndFirstDraw(benchmark::State& state) {
    FeedAndDraw<frmViewEnergy>(state, EnergyLines());
}
BENCHMARK(BM_EnergyFeedAndFirstDraw)->Unit(benchmark::kMillisecond);

void BM_EnergyFileReadFeedAndFirstDraw(benchmark::State& state) {
    const QString path = EnergyFile();
    frmViewEnergy w;
    w.resize(900, 560);
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return state.SkipWithError("no file");
        f.readLine();  // the header
        w.EnergyLoad(-1, "bench.nrg");
        while (!f.atEnd()) w.EnergyLoad(0, QString::fromLatin1(f.readLine()).chopped(2));
        w.ShowEnergyData();
    }
}
BENCHMARK(BM_EnergyFileReadFeedAndFirstDraw)->Unit(benchmark::kMillisecond);

void BM_Rebin60000(benchmark::State& state) {
    EnergyViewData data;
    data.Begin(false, false);
    for (const QString& line : EnergyLines()) data.Add(line);
    data.ChooseLimits();
    for (auto _ : state) data.Apply(400, 600, 2, 1, int(state.range(0)));
}
BENCHMARK(BM_Rebin60000)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond);

void BM_RatioFeedAndFirstDraw(benchmark::State& state) {
    QStringList lines;
    for (int i = 0; i < kLines; ++i) {
        const float a = float(5e-3 * (1 + 0.3 * std::sin(i * 0.37)));
        lines << SingleText(a) + "\t" + SingleText(a * float(0.5 + 0.01 * std::cos(i * 0.11)));
    }
    FeedAndDraw<frmViewNrgRto>(state, lines);
}
BENCHMARK(BM_RatioFeedAndFirstDraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // fonts and the windows
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    platform::setPrompts(&g_prompts);
    ResetAppState();
    SetDecimalSeparator(QStringLiteral("."));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
