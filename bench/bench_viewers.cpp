// Stored-data viewers, each figure once: a PC file read through LoadPcFile
// into the real viewer and drawn for the first time (power 60000 and
// 2,000,000 lines, energy 60000), a zoom redraw over the large record,
// re-binning 60000 energy values, and the reference of reading and
// splitting the same power file with QFile alone.
// The peak memory of the 2,000,000-line load is the process's alone when
// run by itself: --benchmark_filter=PowerFileLoadAndFirstDraw/2000000.
#include "data/NumberFormat.h"
#include "platform/ImageSurface.h"
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "tests/support/ProgramState.h"
#include "tests/support/QuietPlatform.h"
#include "viewers/EnergyViewData.h"
#include "viewers/EnergyViewer.h"
#include "viewers/EnergyViewers.h"
#include "viewers/PcFileView.h"
#include "viewers/PowerViewer.h"
#include "viewers/PowerViewers.h"
#include "viewers/Viewers.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <utility>

namespace {

QuietPrompts g_prompts;
constexpr long kViewerLines = 60000;

// A data file of `lines` lines after `header`, line i made by `line`, written
// once per run in a temporary folder.
template <class Line>
QString DataFile(const QString& name, const QByteArray& header, long lines, Line line) {
    static QTemporaryDir dir;
    static std::map<QString, QString> made;
    const QString key = name + QString::number(lines);
    if (auto it = made.find(key); it != made.end()) return it->second;
    const QString path = dir.filePath(key);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write(header + "\r\n");
    QByteArray block;
    for (long i = 0; i < lines; ++i) {
        block += line(i) + "\r\n";
        if (block.size() > (1 << 20)) f.write(std::exchange(block, QByteArray()));
    }
    f.write(block);
    return made[key] = path;
}

QString PowerFile(long lines) {
    return DataFile(
        "power.pwr", "Power, in Watts \t Time, in Seconds \t Head: PS19; s/n 1234", lines, [](long i) {
            return QByteArray::number(0.25 + 0.2 * std::sin(double(i) * 0.001), 'g', 7).leftJustified(18) +
                   '\t' + QByteArray::number(double(i) * 0.05, 'f', 2);
        });
}

QString EnergyFile(long lines) {
    return DataFile(
        "energy.nrg", "Energy, in Joules \t,Missing Pulses Detection Off,\tHead: PE25", lines, [](long i) {
            return i % 997 == 0 ? QByteArray("Overrange")
                                : SingleText(float(5e-3 * (1 + 0.3 * std::sin(double(i) * 0.37)))).toLatin1();
        });
}

// The viewers in a main window's area, as the program makes them.
void InstallViewers() {
    static QMdiArea* area = [] {
        auto* a = new QMdiArea;
        a->resize(1000, 640);
        InstallPowerViewers(a);
        InstallEnergyViewers(a);
        InstallPcFileView(a);
        a->show();
        return a;
    }();
    (void)area;
}

// Peak resident memory of the process so far, in MB.
double PeakMegabytes() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

PowerViewer& ThePowerViewer() {
    InstallViewers();
    return *dynamic_cast<PowerViewer*>(Viewer(ViewPower));
}

// Open's last step: LoadPcFile, then the viewer's first drawing.
void BM_PowerFileLoadAndFirstDraw(benchmark::State& state) {
    const QString path = PowerFile(state.range(0));
    PowerViewer& v = ThePowerViewer();
    for (auto _ : state) ShowPcFile(path);
    if (v.Data.Count() != state.range(0)) state.SkipWithError("points lost");
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_PowerFileLoadAndFirstDraw)->Arg(kViewerLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PowerFileLoadAndFirstDraw)->Arg(2000000)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_EnergyFileLoadAndFirstDraw(benchmark::State& state) {
    const QString path = EnergyFile(state.range(0));
    InstallViewers();
    for (auto _ : state) ShowPcFile(path);
    auto* v = dynamic_cast<EnergyViewer*>(Viewer(ViewEnergy));
    if (!v || long(v->Data.Values.size()) != state.range(0)) state.SkipWithError("values lost");
}
BENCHMARK(BM_EnergyFileLoadAndFirstDraw)->Arg(kViewerLines)->Unit(benchmark::kMillisecond);

// A band over the middle half of the large record, drawn again.
void BM_ZoomRedraw(benchmark::State& state) {
    PowerViewer& v = ThePowerViewer();
    if (v.Data.Count() != 2000000) ShowPcFile(PowerFile(2000000));
    platform::ImageSurface surface(QSize(900, 480), 1.0);
    FitChartToPixels(v.Chart, surface.LogicalSize());
    int64_t first = 0, last = 0;
    for (auto _ : state) {
        v.Data.ZoomIndexes(25000, 75000, first, last);
        v.ZoomFirst = first;
        v.ZoomLast = last;
        v.ZoomStart = v.Data.Time(first);
        v.ZoomEnd = v.Data.Time(last);
        v.DrawInterval(surface);
    }
    state.counters["zoomed_points"] = double(last - first + 1);
}
BENCHMARK(BM_ZoomRedraw)->Unit(benchmark::kMillisecond);

void BM_Rebin60000(benchmark::State& state) {
    EnergyViewData data;
    data.Begin(false, false);
    QFile f(EnergyFile(kViewerLines));
    if (!f.open(QIODevice::ReadOnly)) return state.SkipWithError("no file");
    f.readLine();  // the header
    while (!f.atEnd()) data.Add(QString::fromLatin1(f.readLine()).chopped(2));
    data.ChooseLimits();
    for (auto _ : state) data.Apply(400, 600, 2, 1, int(state.range(0)));
}
BENCHMARK(BM_Rebin60000)->Arg(2)->Arg(20)->Unit(benchmark::kMillisecond);

// The reference: QFile's lines, each decoded and cut into value and time at
// its TAB.
void BM_ReadAndSplitWithQFile(benchmark::State& state) {
    const QString path = PowerFile(state.range(0));
    long fields = 0;
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return state.SkipWithError("cannot open");
        fields = 0;
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine());
            const qsizetype tab = line.indexOf('\t');
            const QString value = line.left(tab), time = line.mid(tab + 1);
            fields += !value.isEmpty() + !time.isEmpty();
        }
        benchmark::DoNotOptimize(fields);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAndSplitWithQFile)->Arg(kViewerLines)->Arg(2000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // the viewers and the loading window
    platform::setPrompts(&g_prompts);
    FreshProgramState();
    SetDecimalSeparator(".");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
