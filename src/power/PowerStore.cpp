#include "power/PowerStore.h"

#include "data/Arithmetic.h"
#include "data/Overrange.h"

double PointIntervalFor(int32_t logTime) {
    return double(logTime) * 20.0 / kMaxPowerPoints >= 1 ? double(logTime) / kMaxPowerPoints : 0;
}

void PowerStore::Clear(int32_t logTime) {
    PointCount = 0;
    BinCount = 0;
    BinSum = 0;
    for (PowerPoint& p : PowerData) p = PowerPoint{};
    PointInterval = PointIntervalFor(logTime);
}

double PowerStore::PointValue(const PowerPoint& p) {
    if (IsOverrange(p.MaxValue)) return OverrangeValue;
    return IsOverrange(-double(p.MinValue)) ? -OverrangeValue : double(p.AvgValue);
}

void PowerStore::Open(int32_t index, double reading, double t) {
    PowerPoint& p = PowerData[size_t(index)];
    p.PointTime = t;
    p.MaxValue = float(reading);
    if (IsOverrange(reading) || IsOverrange(-reading)) {
        BinCount = 0;
        BinSum = 0;
        // Nothing valid yet: the point reads as over range until one arrives;
        // minus over range (a difference) marks the minimum instead.
        p.MinValue = IsOverrange(reading) ? 0 : float(reading);
        p.AvgValue = 0;
    } else {
        BinCount = 1;
        BinSum = reading;
        p.MinValue = p.AvgValue = float(reading);
    }
    PointCount = index;
}

int32_t PowerStore::Store(double reading, double t) {
    if (PointInterval == 0) {
        if (PointCount >= kMaxPowerPoints) return 0;
        PowerPoint& p = PowerData[size_t(++PointCount)];
        p.MinValue = p.MaxValue = p.AvgValue = float(reading);
        p.PointTime = PointCount == 1 ? 0 : t;
        return PointCount;
    }
    if (PointCount == 0) {
        Open(1, reading, 0);
        return 1;
    }
    const int32_t c = PointCount;
    if (c + 1 > kMaxPowerPoints) return 0;
    if (t < (c + 1) * PointInterval) {
        PowerPoint& p = PowerData[size_t(c)];
        p.MaxValue = MaxOf(p.MaxValue, float(reading));
        if (IsOverrange(reading)) return c;
        if (IsOverrange(-reading)) {
            // Kept out of the average like over range, marked in the minimum.
            p.MinValue = float(reading);
            return c;
        }
        ++BinCount;
        BinSum += reading;
        // The first valid reading of a point that began over range sets its
        // minimum; a minus over-range mark stays.
        const bool marked = IsOverrange(-double(p.MinValue));
        p.MinValue = BinCount == 1 && !marked ? float(reading) : MinOf(p.MinValue, float(reading));
        p.AvgValue = float(BinSum / BinCount);
        return c;
    }
    // Every interval without readings leaves one empty point; a gap longer
    // than the store leaves it full.
    for (int32_t index = c + 1; index <= kMaxPowerPoints; ++index) {
        if (t < (index + 1) * PointInterval) {
            Open(index, reading, t);
            return index;
        }
        PowerData[size_t(index)].PointTime = -1;
        PointCount = index;
    }
    return 0;
}
