// Strip chart drawing speed: one new reading on a live chart, and full
// redraws (empty chart, then every stored point) of 1000 and 6000 points,
// plain or as merged points with their spread drawn as a band.
#include "charts/StripChart.h"
#include "platform/ImageSurface.h"
#include "state/AppState.h"
#include "tests/support/ProgramState.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>
#include <cmath>

namespace {

double Reading(long i) {
    return 0.25 + 0.2 * std::sin(i * 0.05) + 0.01 * std::sin(i * 1.3);
}

void BM_AddOnePoint(benchmark::State& state) {
    FreshProgramState();
    double dpr = state.range(0) / 10.0;
    platform::ImageSurface surface(QSize(800, 500), dpr);
    ChartSettings s;
    FitChartToPixels(s, surface.LogicalSize());
    DrawChart(0, s, surface, 0, 240);
    long i = 0;
    for (auto _ : state) {
        DrawChartPoint(s, surface, {(i % 4800) * 0.05, Reading(i), int32_t(i % 4800)});
        ++i;
    }
    state.SetItemsProcessed(i);
}
BENCHMARK(BM_AddOnePoint)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

void BM_FullRedraw(benchmark::State& state) {
    FreshProgramState();
    const long points = state.range(0);
    platform::ImageSurface surface(QSize(800, 500), state.range(1) / 10.0);
    ChartSettings s;
    FitChartToPixels(s, surface.LogicalSize());
    for (auto _ : state) {
        DrawChart(0, s, surface, 0, 600);
        for (long i = 0; i < points; ++i) {
            const double r = Reading(i);
            DrawChartPoint(s, surface,
                           {i * 600.0 / points, r, int32_t(i), state.range(2) ? ChartBand{r - 0.02, r + 0.02} : ChartBand{}});
        }
    }
}
BENCHMARK(BM_FullRedraw)
    ->Args({1000, 10, 0})
    ->Args({6000, 10, 0})
    ->Args({1000, 20, 0})
    ->Args({6000, 20, 0})
    ->Args({6000, 10, 1})
    ->Args({6000, 20, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts need it
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
