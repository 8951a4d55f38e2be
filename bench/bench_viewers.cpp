// Stored-data viewers, each figure once: a PC file read through LoadPcFile
// into the real viewer and drawn for the first time (power 60000, 2,000,000
// and 8,640,000 lines, a day at 100 readings/s; energy 60000), with the
// least work any reader must do beside it (the file read into memory and
// every field converted with std::from_chars) and the ratio of the two; the
// peak resident memory of each load; a zoom redraw over the large records;
// re-binning 60000 energy values.
// The machine may be shared: run with --benchmark_repetitions=5 and read
// the min and max rows (best and spread).
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
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <map>
#include <utility>
#include <vector>

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

// Power at 100 readings/s, the time stamps of a day.
QString PowerFile(long lines) {
    return DataFile(
        "power.pwr", "Power, in Watts \t Time, in Seconds \t Head: PS19; s/n 1234", lines, [](long i) {
            return QByteArray::number(0.25 + 0.2 * std::sin(double(i) * 0.001), 'g', 7).leftJustified(18) +
                   '\t' + QByteArray::number(double(i) * 0.01, 'f', 2);
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

// Peak resident memory since the last ResetPeak, in MB.
double PeakMegabytes() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}
void ResetPeak() {
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

// The least work of any reader: the whole file read into memory, every
// value and time converted with std::from_chars. Returns the fields read.
long ReadAndConvert(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = f.readAll();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    p = std::find(p, end, '\n') + 1;  // the header
    long fields = 0;
    double value = 0, sum = 0;
    while (p < end) {
        const char* const eol = std::find(p, end, '\n');
        for (const char* q = p; q < eol;) {
            while (q < eol && (*q == ' ' || *q == '\t' || *q == '\r')) ++q;
            if (q == eol) break;
            const auto r = std::from_chars(q, eol, value);
            if (r.ec != std::errc()) break;
            sum += value;
            ++fields;
            q = r.ptr;
        }
        p = eol + 1;
    }
    benchmark::DoNotOptimize(sum);
    return fields;
}

// Wall and processor seconds of the fastest of three runs of `work` (the
// processor time leaves out what other programs take on a shared machine).
struct Seconds {
    double wall = 1e9, cpu = 1e9;
};
template <class Work>
Seconds Timed(Work work) {
    const auto t0 = std::chrono::steady_clock::now();
    const std::clock_t c0 = std::clock();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
            double(std::clock() - c0) / CLOCKS_PER_SEC};
}
template <class Work>
Seconds Best(Work work) {
    Seconds best;
    for (int k = 0; k < 3; ++k) {
        const Seconds s = Timed(work);
        best = {std::min(best.wall, s.wall), std::min(best.cpu, s.cpu)};
    }
    return best;
}

void MinMax(benchmark::internal::Benchmark* b) {
    b->ComputeStatistics("min",
                         [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics(
            "max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
        ->Unit(benchmark::kMillisecond);
}

PowerViewer& ThePowerViewer() {
    InstallViewers();
    return *dynamic_cast<PowerViewer*>(Viewer(ViewPower));
}

// Open's last step: LoadPcFile, then the viewer's first drawing. Counters:
// the reference (ReadAndConvert, best of three, wall and processor time),
// the ratios of the load's mean times to it, and the peak resident memory
// of the loads.
void BM_PowerFileLoadAndFirstDraw(benchmark::State& state) {
    const QString path = PowerFile(state.range(0));
    PowerViewer& v = ThePowerViewer();
    v.Load(-1, QString());  // the previous record's memory is not this load's
    ResetPeak();
    Seconds loads{0, 0};
    for (auto _ : state) {
        const Seconds s = Timed([&] { ShowPcFile(path); });
        loads = {loads.wall + s.wall, loads.cpu + s.cpu};
    }
    state.counters["peak_MB"] = PeakMegabytes();
    if (v.Data.Count() != state.range(0)) state.SkipWithError("points lost");
    const Seconds reference = Best([&] { ReadAndConvert(path); });
    const double n = double(state.iterations());
    state.counters["reference_ms"] = reference.wall * 1e3;
    state.counters["ratio"] = loads.wall / n / reference.wall;
    state.counters["cpu_ratio"] = loads.cpu / n / reference.cpu;
}
BENCHMARK(BM_PowerFileLoadAndFirstDraw)->Arg(kViewerLines)->Apply(MinMax);
BENCHMARK(BM_PowerFileLoadAndFirstDraw)->Arg(2000000)->Iterations(3)->Apply(MinMax);
BENCHMARK(BM_PowerFileLoadAndFirstDraw)->Arg(8640000)->Iterations(2)->Apply(MinMax);

void BM_EnergyFileLoadAndFirstDraw(benchmark::State& state) {
    const QString path = EnergyFile(state.range(0));
    InstallViewers();
    for (auto _ : state) ShowPcFile(path);
    auto* v = dynamic_cast<EnergyViewer*>(Viewer(ViewEnergy));
    if (!v || long(v->Data.Values.size()) != state.range(0)) state.SkipWithError("values lost");
}
BENCHMARK(BM_EnergyFileLoadAndFirstDraw)->Arg(kViewerLines)->Unit(benchmark::kMillisecond);

// A band over the middle half of a large record, drawn again.
void BM_ZoomRedraw(benchmark::State& state) {
    const long n = state.range(0);
    PowerViewer& v = ThePowerViewer();
    if (v.Data.Count() != n) ShowPcFile(PowerFile(n));
    platform::ImageSurface surface(QSize(900, 480), 1.0);
    FitChartToPixels(v.Chart, surface.LogicalSize());
    const double span = v.Data.Time(n - 1);
    int64_t first = 0, last = 0;
    for (auto _ : state) {
        v.Data.ZoomIndexes(span / 4, span * 3 / 4, first, last);
        v.ZoomFirst = first;
        v.ZoomLast = last;
        v.ZoomStart = v.Data.Time(first);
        v.ZoomEnd = v.Data.Time(last);
        v.DrawInterval(surface);
    }
    state.counters["zoomed_points"] = double(last - first + 1);
}
BENCHMARK(BM_ZoomRedraw)->Arg(2000000)->Arg(8640000)->Apply(MinMax);

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

// The reference alone, for the record.
void BM_ReadAndConvertReference(benchmark::State& state) {
    const QString path = PowerFile(state.range(0));
    long fields = 0;
    for (auto _ : state) fields = ReadAndConvert(path);
    if (fields != 2 * state.range(0)) state.SkipWithError("fields lost");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAndConvertReference)->Arg(kViewerLines)->Arg(2000000)->Arg(8640000)->Apply(MinMax);

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
