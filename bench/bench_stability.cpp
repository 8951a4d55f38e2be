// Stability figures and the Allan curve of a day at 100 readings a second
// (8,640,000 readings with noise, a slow drift and rounded times), against
// the raw pass over the same numbers: a plain sum of times and values.
#include "analysis/Stability.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int64_t kReadings = 8'640'000;

struct Day {
    std::vector<double> t, v;
    Day() {
        std::mt19937_64 random(86400);
        std::normal_distribution<double> noise(0.0, 1e-5);
        t.reserve(kReadings);
        v.reserve(kReadings);
        for (int64_t i = 0; i < kReadings; ++i) {
            t.push_back(std::round(double(i)) / 100);  // written with two decimals
            v.push_back(1e-3 * (1 + 1e-7 * double(i)) + noise(random));
        }
    }
};

const Day& TheDay() {
    static const Day day;
    return day;
}

void StabilityFiguresOfADay(benchmark::State& state) {
    const Day& d = TheDay();
    const analysis::SpanSeries series(d.t, d.v);
    for (auto _ : state) {
        const analysis::PowerFigures f = analysis::AnalysePower(series);
        benchmark::DoNotOptimize(f.Allan.data());
        state.counters["octaves"] = double(f.Allan.size());
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}
BENCHMARK(StabilityFiguresOfADay)->Unit(benchmark::kMillisecond);

void PlainSumOfTheSameReadings(benchmark::State& state) {
    const Day& d = TheDay();
    for (auto _ : state) {
        double sum = 0;
        for (int64_t i = 0; i < kReadings; ++i) sum += d.t[size_t(i)] + d.v[size_t(i)];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}
BENCHMARK(PlainSumOfTheSameReadings)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
