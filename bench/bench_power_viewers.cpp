// Power viewers: a 60000-line file read, fed and first drawn; 2,000,000
// lines (with the peak memory); a zoom redraw over the large record.
#include "data/NumberFormat.h"
#include "platform/ImageSurface.h"
#include "platform/SurfaceWidget.h"
#include "state/AppState.h"
#include "viewers/PowerViewerWindow.h"
#include "viewers/PowerViewers.h"
#include "viewers/Viewers.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QTemporaryDir>
#include <cmath>
#include <utility>

namespace {

// A power file written piece by piece, as a logging window writes it.
void WritePowerFile(const QString& path, int lines) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return;
    f.write("Power, in Watts \t Time, in Seconds \tHead: TH1\r\n");
    QByteArray piece;
    for (int i = 0; i < lines; ++i) {
        piece += QByteArray::number(0.25 + 0.2 * std::sin(i * 0.001), 'g', 6).leftJustified(18) + '\t' +
                 QByteArray::number(i * 0.05, 'f', 2) + "\r\n";
        if (piece.size() > (1 << 20)) f.write(std::exchange(piece, {}));
    }
    f.write(piece);
}

// Peak resident memory of the process, in MB (VmHWM).
double PeakMegabytes() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

PowerViewerWindow& Viewer() {
    static QMdiArea* area = [] {
        auto* a = new QMdiArea;
        a->resize(1000, 640);
        InstallPowerViewers(a);
        a->show();
        return a;
    }();
    (void)area;
    return *dynamic_cast<PowerViewerWindow*>(::Viewer(ViewPower));
}

// The file read in blocks of 1 MB and split into lines, each fed to the
// viewer, then drawn.
void LoadFile(PowerViewerWindow& v, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return;
    v.Load(-1, path);
    QByteArray pending;
    bool header = true;
    while (!f.atEnd()) {
        pending += f.read(1 << 20);
        qsizetype start = 0;
        for (qsizetype end; (end = pending.indexOf('\n', start)) >= 0; start = end + 1) {
            qsizetype len = end - start;
            if (len > 0 && pending[end - 1] == '\r') --len;
            if (!header) v.Load(0, QString::fromLatin1(pending.constData() + start, len));
            header = false;
        }
        pending.remove(0, start);
    }
    v.ShowData();
}

void LoadLines(benchmark::State& state, int lines) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pwr");
    WritePowerFile(path, lines);
    PowerViewerWindow& v = Viewer();
    for (auto _ : state) LoadFile(v, path);
    state.counters["points"] = double(v.Data.Count());
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_Load60000AndDraw(benchmark::State& state) {
    LoadLines(state, 60000);
}
BENCHMARK(BM_Load60000AndDraw)->Unit(benchmark::kMillisecond);

void BM_Load2000000(benchmark::State& state) {
    LoadLines(state, 2000000);
}
BENCHMARK(BM_Load2000000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ZoomRedraw2000000(benchmark::State& state) {
    PowerViewerWindow& v = Viewer();
    if (v.Data.Count() < 2000000) {
        v.Load(-1, "big.pwr");
        for (int i = 0; i < 2000000; ++i)
            v.Load(0, QString::number(0.25 + 0.2 * std::sin(i * 0.001)).leftJustified(18) + '\t' +
                          QString::number(i * 0.05, 'f', 2));
        v.ShowData();
    }
    platform::ImageSurface surface(QSize(900, 480), 1.0);
    FitChartToPixels(v.Chart, surface.LogicalSize());
    int64_t first = 0, last = 0;
    for (auto _ : state) {
        // A band over the middle half of the record.
        v.Data.ZoomIndexes(25000, 75000, first, last);
        v.ZoomFirst = first;
        v.ZoomLast = last;
        v.ZoomStart = v.Data.Time(first);
        v.ZoomEnd = v.Data.Time(last);
        v.DrawInterval(surface);
    }
    state.counters["zoomed_points"] = double(last - first + 1);
}
BENCHMARK(BM_ZoomRedraw2000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ResetAppState();
    App().BaseUnit = "W";
    SetDecimalSeparator(".");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
