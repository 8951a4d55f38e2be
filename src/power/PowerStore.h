#pragma once

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
};

inline constexpr int32_t kMaxPowerPoints = 6000;

// Points per run for the strip chart: one per reading below 300 s of log
// time, otherwise readings merged into LogTime / 6000 s wide points so that
// memory and redraw cost stay bounded. Index 0 holds no point.
class PowerStore {
public:
    PowerStore() : PowerData(kMaxPowerPoints + 1) {}

    // Empties the store and sets the point width for `logTime` seconds.
    void Clear(int32_t logTime);

    // Stores a reading taken `t` seconds into the run (over-range readings
    // mark MaxValue only). Returns the point it went into, 0 when the store
    // is full.
    int32_t Store(double reading, double t);

    // The value a point stands for: over range when any of its readings
    // was (minus over range likewise, for differences), otherwise the average.
    static double PointValue(const PowerPoint& p);

    std::vector<PowerPoint> PowerData;  // 0..6000
    int32_t PointCount = 0;
    double PointInterval = 0;  // seconds per point; 0 = one point per reading
    int32_t BinCount = 0;  // valid readings merged into the current point (32-bit: long points at fast rates)
    double BinSum = 0;

private:
    void Open(int32_t index, double reading, double t);
};

// Seconds per point for a log time: LogTime / 6000 from 300 s on, else 0.
double PointIntervalFor(int32_t logTime);
