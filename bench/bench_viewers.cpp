// Viewer loading speed. A PC data file of 60000 and of 2,000,000 single
// power lines goes through LoadPcFile into a viewer that only counts its
// lines; the reference reads and splits the same file with QFile alone.
//
// To time a real viewer, register it with SetViewerFactory in place of the
// counting one (see CountingViewer) and add a BENCHMARK using the same
// files (PowerFile) and ShowData for the first drawing.
#include "platform/Prompts.h"
#include "state/AppState.h"
#include "tests/support/QuietPlatform.h"
#include "viewers/PcFileLoader.h"
#include "viewers/StoredDataViewer.h"
#include "viewers/Viewers.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <map>

namespace {

QuietPrompts g_prompts;

// A single-channel power file of `lines` data lines, made once per run in a
// temporary folder.
QString PowerFile(long lines) {
    static QTemporaryDir dir;
    static std::map<long, QString> made;
    auto it = made.find(lines);
    if (it != made.end()) return it->second;
    const QString path = dir.filePath(QString("power%1.pwr").arg(lines));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write("Power, in Watts \t Time, in Seconds \t Head: PS19; s/n 1234\r\n");
    QByteArray block;
    for (long i = 0; i < lines; ++i) {
        block += QByteArray::number(1.2345e-3 + (i % 977) * 1e-7, 'E', 6).leftJustified(18, ' ');
        block += '\t' + QByteArray::number(i * 0.05, 'f', 2) + "\r\n";
        if (block.size() > (1 << 20)) f.write(std::exchange(block, QByteArray()));
    }
    f.write(block);
    return made[lines] = path;
}

// Takes the lines and counts them: the loader's own cost.
struct CountingViewer : StoredDataViewer {
    long lines = 0;
    void Load(int step, const QString& text) override {
        if (step == -1) lines = 0;
        if (step == 0) lines += !text.isEmpty();
    }
    void ShowData() override {}
    void DataSave(const QString&) override {}
    void Print() override {}
};

void BM_LoadPcFile(benchmark::State& state) {
    const QString path = PowerFile(state.range(0));
    CountingViewer viewer;
    ForgetViewers();
    SetViewerFactory(ViewPower, [&viewer] { return &viewer; });
    for (auto _ : state) benchmark::DoNotOptimize(LoadPcFile(path));
    ForgetViewers();
    if (viewer.lines != state.range(0)) state.SkipWithError("lines lost");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadPcFile)->Arg(60000)->Arg(2000000)->Unit(benchmark::kMillisecond);

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
            const int tab = line.indexOf('\t');
            const QString value = line.left(tab), time = line.mid(tab + 1);
            fields += !value.isEmpty() + !time.isEmpty();
        }
        benchmark::DoNotOptimize(fields);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadAndSplitWithQFile)->Arg(60000)->Arg(2000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);  // the loading window
    platform::setPrompts(&g_prompts);
    ResetAppState();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
