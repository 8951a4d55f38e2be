#include "analysis/Stability.h"
#include "data/Overrange.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

using analysis::Figure;

namespace {

struct Record {
    std::vector<double> t, v;
    void Add(double time, double value) {
        t.push_back(time);
        v.push_back(value);
    }
};

// v(i) at t = i dt, readings from `gapFrom` to `gapTo` (excluded) missing.
Record Of(int n, double dt, const std::function<double(int)>& v, int gapFrom = 0, int gapTo = 0) {
    Record r;
    for (int i = 0; i < n; ++i)
        if (i < gapFrom || i >= gapTo) r.Add(i * dt, v(i));
    return r;
}
// mu + d, mu - d, ... at t = i
Record Alternating(int n, double mu, double d, int gapFrom = 0, int gapTo = 0) {
    return Of(
        n, 1, [=](int i) { return i % 2 ? mu - d : mu + d; }, gapFrom, gapTo);
}
Record Constant(int n, double c, bool overRange = false) {  // over range: two more readings, + and -
    Record r = Of(n, 0.01, [=](int) { return c; });
    for (const double v : {OverrangeValue, -OverrangeValue})
        if (overRange) r.Add(r.t.back() + 0.01, v);
    return r;
}

void ExpectFigure(const char* what, Figure expected, Figure actual) {
    SCOPED_TRACE(what);
    ASSERT_EQ(expected.has_value(), actual.has_value());
    if (expected) {
        EXPECT_NEAR(*expected, *actual, 1e-9 * std::fabs(*expected) + 1e-12);
    }
}
// Mean, standard deviation, relative deviation and peak to peak.
void ExpectFigures(const std::array<Figure, 4>& expected, const std::array<Figure, 4>& actual) {
    for (size_t k = 0; k < 4; ++k)
        ExpectFigure(std::array{"mean", "sd", "rsd", "peak to peak"}[k], expected[k], actual[k]);
}

struct PowerCase {
    const char* name;
    Record record;
    int64_t readings, overRange;
    Figure mean, sd, rsd, peakToPeak, drift, driftPercent;
    std::vector<std::pair<double, Figure>> allan;  // averaging time, deviation
};

const double kRoot2 = std::sqrt(2.0);
// Ramp 2 + 0.5 i every 0.5 s, 1024 readings: mean 257.75, slope 1 per second.
const double kRampMean = 2 + 0.5 * 511.5;
const double kRampSd = 0.5 * std::sqrt(1024.0 * 1025.0 / 12.0);
// 10 +- 0.25, 1024 readings.
const double kAltSd = 0.25 * std::sqrt(1024.0 / 1023.0);

// clang-format off
std::vector<PowerCase> PowerCases() {
    const double altDrift = -6 * 0.25 / (1024.0 * 1024 - 1) * 3600;  // the sawtooth's own slope: -6 d / (n^2 - 1)
    const double gapSd = 0.25 * std::sqrt(624.0 / 623.0);
    const Record ramp = Of(1024, 0.5, [](int i) { return 2 + 0.5 * i; });
    return {
        {"ramp: drift exact, deviation slope x m / root 2", ramp, 1024, 0,
         kRampMean, kRampSd, kRampSd / kRampMean * 100, 0.5 * 1023 / kRampMean * 100, 3600.0, 3600.0 / kRampMean * 100,
         {{0.5, 0.5 / kRoot2}, {1, 1 / kRoot2}, {4, 4 / kRoot2}, {64, 64 / kRoot2}, {128, 128 / kRoot2}}},
        {"alternating: root 2 d at one reading, 0 at two", Alternating(1024, 10, 0.25), 1024, 0,
         10.0, kAltSd, kAltSd / 10 * 100, 5.0, altDrift, altDrift / 10 * 100,
         {{1, kRoot2 * 0.25}, {2, 0.0}, {8, 0.0}, {256, 0.0}}},
        {"constant: no spread, no drift; over range left out and counted", Constant(400, 3.0, true), 400, 2,
         3.0, 0.0, 0.0, 0.0, 0.0, 0.0, {{0.01, 0.0}, {0.02, 0.0}, {0.64, 0.0}}},
        {"gap: windows without readings are skipped, not taken as zero", Alternating(1024, 10, 0.25, 300, 700), 624, 0,
         10.0, gapSd, gapSd / 10 * 100, 5.0, std::nullopt, std::nullopt, {{1, kRoot2 * 0.25}}},
        {"mean 0: no relative figure", Alternating(64, 0, 1), 64, 0,
         0.0, std::sqrt(64.0 / 63.0), std::nullopt, std::nullopt, std::nullopt, std::nullopt, {{1, kRoot2}, {2, 0.0}}},
        {"one reading: no spread, drift or deviation", Constant(1, 2.0), 1, 0,
         2.0, std::nullopt, std::nullopt, 0.0, std::nullopt, std::nullopt, {}},
    };
}
// clang-format on

TEST(StabilityFigures, ClosedFormsOfPowerRecords) {
    for (const PowerCase& c : PowerCases()) {
        SCOPED_TRACE(c.name);
        const analysis::PowerFigures f = analysis::AnalysePower(analysis::SpanSeries(c.record.t, c.record.v));
        EXPECT_EQ(std::tuple(c.readings, c.overRange), std::tuple(f.Readings, f.OverRange));
        ExpectFigures({c.mean, c.sd, c.rsd, c.peakToPeak}, {f.Mean, f.Sd, f.RsdPercent, f.PeakToPeakPercent});
        if (c.drift || c.readings < 2) ExpectFigure("drift", c.drift, f.DriftPerHour);
        if (c.driftPercent || c.readings < 2) ExpectFigure("drift %", c.driftPercent, f.DriftPercentPerHour);
        EXPECT_EQ(f.Allan.empty(), c.allan.empty());
        for (const auto& [tau, deviation] : c.allan) {
            SCOPED_TRACE(tau);
            const auto at = std::find_if(f.Allan.begin(), f.Allan.end(), [&](const analysis::AllanPoint& p) {
                return std::fabs(p.Tau - tau) < 1e-9;
            });
            ASSERT_NE(f.Allan.end(), at);
            ExpectFigure("deviation", deviation, at->Deviation);
            ExpectFigure("relative", c.mean && *c.mean != 0 ? Figure(*deviation / *c.mean) : std::nullopt,
                         at->Relative);
        }
    }
}

// Times written with two decimals: their differences are not exactly 0.01.
TEST(StabilityFigures, MedianIntervalOfRoundedTimesIsTheLoggingInterval) {
    Record r;
    for (int i = 0; i < 5000; ++i) r.Add(std::round(i * 1.01) / 100, 1.0 + (i % 7) * 0.001);
    const analysis::PowerFigures f = analysis::AnalysePower(analysis::SpanSeries(r.t, r.v));
    ASSERT_TRUE(f.MedianInterval);
    EXPECT_DOUBLE_EQ(0.01, *f.MedianInterval);
    ASSERT_FALSE(f.Allan.empty());
    EXPECT_DOUBLE_EQ(0.01, f.Allan.front().Tau);
    // Irregular times, every interval its own (0.001 .. 0.1 s): the lower middle one.
    Record q;
    for (int i = 0; i <= 100; ++i) q.Add(i * (i + 1) / 2 * 0.001, 1.0);
    EXPECT_DOUBLE_EQ(0.05, *analysis::AnalysePower(analysis::SpanSeries(q.t, q.v)).MedianInterval);
}

TEST(StabilityFigures, EnergyPulses) {
    constexpr float kMissed = -9876;
    struct Case {
        const char* name;
        std::vector<float> values;
        int64_t pulses, over, missed;
        Figure mean, sd, rsd, peakToPeak;
    } const cases[] = {
        // clang-format off
        {"over range and missed pulses counted apart", {1, 2, float(OverrangeValue), 3, kMissed, 4}, 4, 1, 1,
         2.5, std::sqrt(5.0 / 3), std::sqrt(5.0 / 3) / 2.5 * 100, 120.0},
        {"mean 0", {-1, 1}, 2, 0, 0, 0.0, std::sqrt(2.0), std::nullopt, std::nullopt},
        {"one pulse", {kMissed, 0.5f}, 1, 0, 1, 0.5, std::nullopt, std::nullopt, 0.0},
        {"no pulse", {kMissed}, 0, 0, 1, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };  // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const analysis::EnergyFigures f = analysis::AnalyseEnergy(std::span<const float>(c.values), kMissed);
        EXPECT_EQ(std::tuple(c.pulses, c.over, c.missed), std::tuple(f.Pulses, f.OverRange, f.Missed));
        ExpectFigures({c.mean, c.sd, c.rsd, c.peakToPeak}, {f.Mean, f.Sd, f.RsdPercent, f.PeakToPeakPercent});
    }
}

}  // namespace
