#pragma once

#include "charts/MinMaxBand.h"

#include <cstdint>
#include <vector>

// One chart point of a power run: the readings merged into it and the time
// of its first reading. An empty point (an interval without readings) has
// PointTime -1.
struct PowerPoint {
    float MinValue = 0;
    float MaxValue = 0;
    float AvgValue = 0;
    double PointTime = 0;
    int32_t Count = 0;  // valid readings in AvgValue (over range stays out)
};

inline constexpr int32_t kMaxPowerPoints = 6000;

// Points per run for the strip chart: one per reading below 300 s of log
// time, otherwise readings merged into LogTime / 6000 s wide points so that
// memory and redraw cost stay bounded. A short run whose readings would
// fill the store before its log time ends is merged the same way from
// then on, its points so far grouped afresh: the store always covers the
// whole run and never holds more than 6000 points. No reading is dropped:
// one past the last point joins it. Index 0 holds no point.
class PowerStore {
public:
    PowerStore() : PowerData(kMaxPowerPoints + 1) {}

    // Empties the store and sets the point width for `logTime` seconds.
    void Clear(int32_t logTime);

    // Stores a reading taken `t` seconds into the run (over-range readings
    // mark MaxValue only). Returns the point it went into.
    int32_t Store(double reading, double t);

    // The value a point stands for: over range when any of its readings
    // was (minus over range likewise, for differences), otherwise the average.
    static double PointValue(const PowerPoint& p);

    std::vector<PowerPoint> PowerData;  // 0..6000
    int32_t PointCount = 0;
    double PointInterval = 0;  // seconds per point; 0 = one point per reading
    double BinSum = 0;         // valid readings of the current point, summed
    int32_t Regroups = 0;      // times the points were grouped afresh (the chart is redrawn)

private:
    void Open(int32_t index, double reading, double t);
    void Join(int32_t index, double reading);
    // The point a reading at `t` belongs to when merging: the first index
    // i >= 1 with t < (i + 1) x PointInterval, at most 6000.
    int32_t IndexFor(double t) const;
    void Regroup();

    int32_t logTime_ = 0;
};

// A point's band on the chart: the least and greatest of the readings it
// merged (an over-range one included), each through `shown`; none for a
// point without a valid reading.
template <class Shown>
ChartBand BandOf(const PowerPoint& p, Shown shown) {
    if (p.Count < 1) return {};
    return {shown(double(p.MinValue)), shown(double(p.MaxValue))};
}

// Seconds per point for a log time: LogTime / 6000 from 300 s on, else 0.
double PointIntervalFor(int32_t logTime);
