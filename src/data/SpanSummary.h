#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

// Least, greatest and sum of a long series over any index range without
// visiting every value: nodes of 16, 256, 4096 ... values are summed once,
// as the values arrive, and a range is made of at most 30 nodes a level
// plus the values at its two ends. A chart of millions of points then
// redraws any zoom from about a thousand such ranges.
struct SpanFigures {
    double Min = std::numeric_limits<double>::infinity();
    double Max = -std::numeric_limits<double>::infinity();
    double Sum = 0;

    void Add(double v) {
        Min = std::min(Min, v);
        Max = std::max(Max, v);
        Sum += v;
    }
    void Add(const SpanFigures& f) {
        Min = std::min(Min, f.Min);
        Max = std::max(Max, f.Max);
        Sum += f.Sum;
    }
};

class SpanSummary {
public:
    void Clear();
    // The next value of the series (index Count()).
    void Append(double v) {
        ++count_;
        // Most values only join the first level's open node.
        if (!levels_.empty() && levels_[0].inOpen + 1 < kFan) {
            levels_[0].open.Add(v);
            ++levels_[0].inOpen;
            return;
        }
        Carry(v);
    }
    int64_t Count() const { return count_; }

    // Figures of the values first..last (inclusive, within 0..Count() - 1);
    // `value(i)` gives the values the nodes do not cover.
    template <class Value>
    SpanFigures Range(int64_t first, int64_t last, Value value) const;

private:
    static constexpr int64_t kFan = 16;
    struct Level {
        std::vector<SpanFigures> nodes;
        SpanFigures open;  // the node being filled
        int64_t inOpen = 0;
    };
    void Carry(double v);

    std::vector<Level> levels_;
    int64_t count_ = 0;
};

template <class Value>
SpanFigures SpanSummary::Range(int64_t first, int64_t last, Value value) const {
    SpanFigures f;
    int64_t lo = first, hi = last + 1;  // [lo, hi)
    // The values at both ends up to whole nodes.
    while (lo < hi && lo % kFan != 0) f.Add(value(lo++));
    while (hi > lo && hi % kFan != 0) f.Add(value(--hi));
    lo /= kFan;
    hi /= kFan;
    for (const Level& level : levels_) {
        if (lo >= hi) break;
        while (lo < hi && lo % kFan != 0) f.Add(level.nodes[size_t(lo++)]);
        while (hi > lo && hi % kFan != 0) f.Add(level.nodes[size_t(--hi)]);
        lo /= kFan;
        hi /= kFan;
    }
    return f;
}
