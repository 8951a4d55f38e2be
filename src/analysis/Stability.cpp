#include "analysis/Stability.h"

#include "data/Overrange.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace analysis {

namespace {

constexpr int64_t kBlock = 4096;
// Beyond 2^kFullOverlap base bins the windows of one averaging time start
// every tau / 2^kFullOverlap instead of every base bin: the same estimate
// within its own scatter, at a small part of the work on long records.
constexpr int kFullOverlap = 3;

bool IsOverMark(double v) {
    return IsOverrange(std::fabs(v));
}

Figure Percent(double part, double mean) {
    if (mean == 0 || !std::isfinite(part)) return std::nullopt;
    return part / std::fabs(mean) * 100.0;
}

// Calls f(times, values, n) for every block of the series.
template <class F>
void ForEachBlock(const PowerSeries& series, std::vector<double>& t, std::vector<double>& v, F&& f) {
    const int64_t count = series.Count();
    for (int64_t first = 0; first < count; first += kBlock) {
        const int64_t n = std::min(kBlock, count - first);
        const PowerSeries::Block b = series.Read(first, n, t.data(), v.data());
        f(b.Times, b.Values, n);
    }
}

bool IsReading(double t, double v) {
    return t != -1 && std::isfinite(v) && std::isfinite(t);
}

// The median of the positive intervals between readings. Records are logged
// at a few fixed rates, so the intervals are first tallied as a handful of
// distinct values (as singles: the times are written with two decimals and
// their differences carry rounding noise); only when they are many does the
// median come from a full selection.
class IntervalMedian {
public:
    void Add(double interval) {
        if (!(interval > 0)) return;
        const float key = float(interval);
        if (!spilled_) {
            if (last_ < tally_.size() && tally_[last_].first == key) {
                ++tally_[last_].second;
                return;
            }
            for (size_t i = 0; i < tally_.size(); ++i)
                if (tally_[i].first == key) {
                    ++tally_[i].second;
                    last_ = i;
                    return;
                }
            if (tally_.size() < 64) {
                last_ = tally_.size();
                tally_.push_back({key, 1});
                return;
            }
            spilled_ = true;
            for (const auto& [k, c] : tally_) all_.insert(all_.end(), size_t(c), k);
        }
        all_.push_back(key);
    }

    Figure Median() {
        float m = 0;
        if (spilled_) {
            if (all_.empty()) return std::nullopt;
            const size_t mid = (all_.size() - 1) / 2;
            std::nth_element(all_.begin(), all_.begin() + std::ptrdiff_t(mid), all_.end());
            m = all_[mid];
        } else {
            int64_t total = 0;
            for (const auto& e : tally_) total += e.second;
            if (total == 0) return std::nullopt;
            std::sort(tally_.begin(), tally_.end());
            int64_t seen = 0;
            for (const auto& [k, c] : tally_) {
                seen += c;
                if (2 * seen >= total + 1) {  // the lower middle one
                    m = k;
                    break;
                }
            }
        }
        // Back to the decimal the single stands for (0.01, not 0.0099999998).
        char text[32];
        std::snprintf(text, sizeof text, "%.7g", double(m));
        return std::strtod(text, nullptr);
    }

private:
    std::vector<std::pair<float, int64_t>> tally_;
    std::vector<float> all_;
    size_t last_ = 0;
    bool spilled_ = false;
};

// Running sums of the base bins: p[j] and q[j] hold the sum and count of
// the readings in bins 0 .. j - 1, so a window's sum is one difference and
// every averaging time reads the same arrays, with no copy of the record.
struct Prefix {
    std::vector<double> p;
    std::vector<uint32_t> q;  // wraps modulo 2^32; differences stay exact
    size_t Bins() const { return p.empty() ? 0 : p.size() - 1; }
};

// Two neighbouring windows of w bins slide along by one bin: each pair of
// windows that both hold readings adds the squared difference of their
// averages. `Full` is the count of a window with one reading per base bin;
// full pairs (the usual case) add their squared difference of sums, divided
// by Full^2 once at the end.
struct OctaveSums {
    size_t W;
    uint32_t Full;
    double SumFull = 0, SumOther = 0;
    int64_t PairsFull = 0, PairsOther = 0;

    // The pairs whose first window starts at bins from .. to - 1.
    void Add(const Prefix& r, size_t from, size_t to) {
        const double* p = r.p.data();
        const uint32_t* q = r.q.data();
        to = std::min(to, r.Bins() + 1 - std::min(r.Bins() + 1, 2 * W));
        // Locals, not members: the sums stay in registers.
        const size_t w = W;
        const uint32_t full = Full;
        double sumFull = 0, sumOther = 0;
        int64_t pairsFull = 0, pairsOther = 0;
        for (size_t i = from; i < to; ++i) {
            const uint32_t ca = q[i + w] - q[i], cb = q[i + 2 * w] - q[i + w];
            const double a = p[i + w] - p[i], b = p[i + 2 * w] - p[i + w];
            if (ca == full && cb == full) {
                sumFull += (b - a) * (b - a);
                ++pairsFull;
            } else if (ca > 0 && cb > 0) {
                const double d = b / double(cb) - a / double(ca);
                sumOther += d * d;
                ++pairsOther;
            }
        }
        SumFull += sumFull;
        SumOther += sumOther;
        PairsFull += pairsFull;
        PairsOther += pairsOther;
    }
    Figure Deviation() const {
        const int64_t pairs = PairsFull + PairsOther;
        if (pairs == 0) return std::nullopt;
        const double sum = SumOther + SumFull / (double(Full) * double(Full));
        return std::sqrt(sum / (2.0 * double(pairs)));
    }
};

// Pairs of bins become one bin of twice the width (a last odd bin alone).
void Coarsen(Prefix& r) {
    const size_t m = r.Bins(), half = (m + 1) / 2;
    for (size_t j = 0; j <= half; ++j) {
        r.p[j] = r.p[std::min(2 * j, m)];
        r.q[j] = r.q[std::min(2 * j, m)];
    }
    r.p.resize(half + 1);
    r.q.resize(half + 1);
}

// The Allan deviation of the base bins' running sums for windows of 2^k
// bins, k < octaves. Beyond 2^kFullOverlap bins the windows are taken from
// coarser bins, so that they start every 2^-kFullOverlap of their length.
std::vector<Figure> AllanOfPrefix(Prefix r, int octaves) {
    std::vector<Figure> out;
    // The octaves on the base bins go together, block by block, so that the
    // running sums come from memory once for all of them.
    std::vector<OctaveSums> base;
    for (int k = 0; k < std::min(octaves, kFullOverlap + 1); ++k)
        base.push_back({size_t(1) << k, uint32_t(1) << k});
    constexpr size_t kSweep = 4096;
    for (size_t i = 0; i < r.Bins(); i += kSweep)
        for (OctaveSums& o : base) o.Add(r, i, i + kSweep);
    for (const OctaveSums& o : base) out.push_back(o.Deviation());
    int level = 0;
    for (int k = int(base.size()); k < octaves; ++k) {
        while (k - level > kFullOverlap) {
            Coarsen(r);
            ++level;
        }
        OctaveSums o{size_t(1) << (k - level), uint32_t(1) << k};
        o.Add(r, 0, r.Bins());
        out.push_back(o.Deviation());
    }
    return out;
}

template <class T>
EnergyFigures Energy(std::span<const T> values, T missedMark) {
    EnergyFigures f;
    double sum = 0, mn = 0, mx = 0;
    for (const T v : values) {
        if (v == missedMark) {
            ++f.Missed;
        } else if (IsOverMark(double(v))) {
            ++f.OverRange;
        } else if (std::isfinite(double(v))) {
            if (f.Pulses == 0) mn = mx = double(v);
            mn = std::min(mn, double(v));
            mx = std::max(mx, double(v));
            sum += double(v);
            ++f.Pulses;
        }
    }
    if (f.Pulses == 0) return f;
    const double mean = sum / double(f.Pulses);
    f.Mean = mean;
    if (f.Pulses >= 2) {
        double ss = 0;
        for (const T v : values)
            if (v != missedMark && !IsOverMark(double(v)) && std::isfinite(double(v)))
                ss += (double(v) - mean) * (double(v) - mean);
        f.Sd = std::sqrt(ss / double(f.Pulses - 1));
        f.RsdPercent = Percent(*f.Sd, mean);
    }
    f.PeakToPeakPercent = Percent(mx - mn, mean);
    return f;
}

}  // namespace

SpanSeries::SpanSeries(std::span<const double> times, std::span<const double> values)
    : times_(times), values_(values) {}

int64_t SpanSeries::Count() const {
    return int64_t(std::min(times_.size(), values_.size()));
}

PowerSeries::Block SpanSeries::Read(int64_t first, int64_t n, double*, double*) const {
    return {times_.data() + first, values_.data() + first};
}

PowerFigures AnalysePower(const PowerSeries& series) {
    PowerFigures f;
    std::vector<double> tb(kBlock), vb(kBlock);
    // First pass: counts, sums, extremes, first and last time, intervals.
    double sumV = 0, sumT = 0, mn = 0, mx = 0, first = 0, last = 0;
    IntervalMedian intervals;
    ForEachBlock(series, tb, vb, [&](const double* t, const double* v, int64_t n) {
        for (int64_t i = 0; i < n; ++i) {
            if (!IsReading(t[i], v[i])) continue;
            if (IsOverMark(v[i])) {
                ++f.OverRange;
                continue;
            }
            if (f.Readings == 0) {
                mn = mx = v[i];
                first = t[i];
            } else {
                intervals.Add(t[i] - last);
            }
            last = t[i];
            mn = std::min(mn, v[i]);
            mx = std::max(mx, v[i]);
            sumV += v[i];
            sumT += t[i];
            ++f.Readings;
        }
    });
    if (f.Readings == 0) return f;
    const double n = double(f.Readings);
    const double mean = sumV / n, meanT = sumT / n;
    f.Mean = mean;
    f.PeakToPeakPercent = Percent(mx - mn, mean);
    f.MedianInterval = intervals.Median();

    // Base bins of the median interval, centred on the readings' times so
    // that readings on a regular grid fall one to a bin. Their number stays
    // within a few times the readings: sparse records get wider bins.
    Prefix r;
    size_t bins = 0, filled = 0;
    double sumBins = 0;
    uint32_t countBins = 0;
    double width = f.MedianInterval.value_or(0);
    if (width > 0) {
        const int64_t cap = 4 * f.Readings + 1024;
        while ((last - first) / width + 1 > double(cap)) width *= 2;
        bins = size_t(std::llround((last - first) / width)) + 1;
        r.p.resize(bins + 1);
        r.q.resize(bins + 1);
        r.p[0] = 0;
        r.q[0] = 0;
    }
    // Second pass: sums about the means (no cancellation on long records)
    // and the base bins, which hold values about the mean too.
    double ssV = 0, sTV = 0, ssT = 0;
    const double perWidth = width > 0 ? 1 / width : 0;
    ForEachBlock(series, tb, vb, [&](const double* t, const double* v, int64_t m) {
        for (int64_t i = 0; i < m; ++i) {
            if (!IsReading(t[i], v[i]) || IsOverMark(v[i])) continue;
            const double dv = v[i] - mean, dt = t[i] - meanT;
            ssV += dv * dv;
            sTV += dt * dv;
            ssT += dt * dt;
            if (bins > 0) {
                // Times rise, so the running sums are complete for every
                // bin before this reading's (one that steps back joins
                // the current bin).
                const double at = std::max((t[i] - first) * perWidth + 0.5, 0.0);
                const size_t j = std::min(size_t(std::min(at, double(bins - 1))), bins - 1);
                while (filled < j) {
                    ++filled;
                    r.p[filled] = sumBins;
                    r.q[filled] = countBins;
                }
                sumBins += dv;
                ++countBins;
            }
        }
    });
    while (filled < bins) {
        ++filled;
        r.p[filled] = sumBins;
        r.q[filled] = countBins;
    }
    if (f.Readings >= 2) {
        f.Sd = std::sqrt(ssV / (n - 1));
        f.RsdPercent = Percent(*f.Sd, mean);
    }
    if (ssT > 0) {
        f.DriftPerHour = sTV / ssT * 3600.0;
        f.DriftPercentPerHour = Percent(*f.DriftPerHour, mean);
    }
    // Octaves from one bin up to a quarter of the record's length.
    int octaves = 0;
    while ((size_t(4) << octaves) <= bins) ++octaves;
    const std::vector<Figure> dev = AllanOfPrefix(std::move(r), octaves);
    for (int k = 0; k < octaves; ++k) {
        if (!dev[size_t(k)]) continue;
        const double d = *dev[size_t(k)];
        Figure relative;
        if (mean != 0) relative = d / std::fabs(mean);
        f.Allan.push_back({width * double(int64_t(1) << k), d, relative});
    }
    return f;
}

EnergyFigures AnalyseEnergy(std::span<const float> values, float missedMark) {
    return Energy<float>(values, missedMark);
}

EnergyFigures AnalyseEnergy(std::span<const double> values, double missedMark) {
    return Energy<double>(values, missedMark);
}

}  // namespace analysis
