#include "power/PowerStore.h"

#include "data/Arithmetic.h"
#include "data/Overrange.h"

#include <cmath>

namespace {

bool MinusOverrange(float v) {
    return IsOverrange(-double(v));
}

// Folds point `src` into `dst` (dst keeps its time): the larger maximum, the
// smaller minimum of the valid readings (a minus over-range mark stays), and
// the average weighted by the readings behind each.
void Fold(PowerPoint& dst, const PowerPoint& src) {
    dst.MaxValue = MaxOf(dst.MaxValue, src.MaxValue);
    if (MinusOverrange(dst.MinValue) || MinusOverrange(src.MinValue)) {
        dst.MinValue = -float(OverrangeValue);
    } else if (src.Count > 0) {
        dst.MinValue = dst.Count > 0 ? MinOf(dst.MinValue, src.MinValue) : src.MinValue;
    }
    if (src.Count == 0) return;
    const double sum = double(dst.AvgValue) * dst.Count + double(src.AvgValue) * src.Count;
    dst.Count += src.Count;
    dst.AvgValue = float(sum / dst.Count);
}

}  // namespace

double PointIntervalFor(int32_t logTime) {
    return double(logTime) * 20.0 / kMaxPowerPoints >= 1 ? double(logTime) / kMaxPowerPoints : 0;
}

void PowerStore::Clear(int32_t logTime) {
    PointCount = 0;
    BinSum = 0;
    Regroups = 0;
    for (PowerPoint& p : PowerData) p = PowerPoint{};
    logTime_ = logTime;
    PointInterval = PointIntervalFor(logTime);
}

double PowerStore::PointValue(const PowerPoint& p) {
    if (IsOverrange(p.MaxValue)) return OverrangeValue;
    return MinusOverrange(p.MinValue) ? -OverrangeValue : double(p.AvgValue);
}

void PowerStore::Open(int32_t index, double reading, double t) {
    PowerPoint& p = PowerData[size_t(index)];
    p.PointTime = t;
    p.MaxValue = float(reading);
    if (IsOverrange(reading) || IsOverrange(-reading)) {
        BinSum = 0;
        p.Count = 0;
        // Nothing valid yet: the point reads as over range until one arrives;
        // minus over range (a difference) marks the minimum instead.
        p.MinValue = IsOverrange(reading) ? 0 : float(reading);
        p.AvgValue = 0;
    } else {
        BinSum = reading;
        p.Count = 1;
        p.MinValue = p.AvgValue = float(reading);
    }
    PointCount = index;
}

void PowerStore::Join(int32_t index, double reading) {
    PowerPoint& p = PowerData[size_t(index)];
    p.MaxValue = MaxOf(p.MaxValue, float(reading));
    if (IsOverrange(reading)) return;
    if (IsOverrange(-reading)) {
        // Kept out of the average like over range, marked in the minimum.
        p.MinValue = float(reading);
        return;
    }
    ++p.Count;
    BinSum += reading;
    // The first valid reading of a point that began over range sets its
    // minimum; a minus over-range mark stays.
    p.MinValue =
        p.Count == 1 && !MinusOverrange(p.MinValue) ? float(reading) : MinOf(p.MinValue, float(reading));
    p.AvgValue = float(BinSum / p.Count);
}

int32_t PowerStore::IndexFor(double t) const {
    const double q = std::floor(t / PointInterval);
    int32_t i = q >= kMaxPowerPoints ? kMaxPowerPoints : q < 1 ? 1 : int32_t(q);
    while (i < kMaxPowerPoints && t >= (i + 1) * PointInterval) ++i;
    while (i > 1 && t < i * PointInterval) --i;
    return i;
}

void PowerStore::Regroup() {
    // The width that spreads the whole log time over the store; a run whose
    // clock stood still keeps adding to its last point.
    PointInterval = double(MaxOf(logTime_, 1)) / kMaxPowerPoints;
    std::vector<PowerPoint> old(PowerData.size());
    old.swap(PowerData);
    int32_t last = 0;
    for (int32_t k = 1; k <= PointCount; ++k) {
        const PowerPoint& p = old[size_t(k)];
        if (p.PointTime < 0) continue;
        const int32_t index = MaxOf(IndexFor(p.PointTime), MaxOf(last, 1));
        if (index == last) {
            Fold(PowerData[size_t(index)], p);
            continue;
        }
        for (int32_t e = last + 1; e < index; ++e) PowerData[size_t(e)].PointTime = -1;
        PowerData[size_t(index)] = p;
        last = index;
    }
    PointCount = last;
    const PowerPoint& current = PowerData[size_t(last)];
    BinSum = double(current.AvgValue) * current.Count;
    ++Regroups;
}

int32_t PowerStore::Store(double reading, double t) {
    if (PointInterval == 0) {
        if (PointCount < kMaxPowerPoints) {
            PowerPoint& p = PowerData[size_t(++PointCount)];
            p.MinValue = p.MaxValue = p.AvgValue = float(reading);
            p.Count = IsOverrange(reading) || IsOverrange(-reading) ? 0 : 1;
            p.PointTime = PointCount == 1 ? 0 : t;
            return PointCount;
        }
        // The store is full before the log time ends: merge from here on.
        Regroup();
    }
    if (PointCount == 0) {
        Open(1, reading, 0);
        return 1;
    }
    const int32_t c = PointCount;
    const int32_t index = MaxOf(IndexFor(t), c);
    if (index == c) {
        Join(c, reading);
        return c;
    }
    // Every interval without readings leaves one empty point.
    for (int32_t e = c + 1; e < index; ++e) PowerData[size_t(e)].PointTime = -1;
    Open(index, reading, t);
    return index;
}
