#pragma once

#include "charts/StripChart.h"

#include <QString>
#include <optional>

// What lies under the mouse on a strip chart.
struct ChartCursor {
    double Time = 0;   // seconds from the chart start
    double Value = 0;  // base unit
};

// The time and value at (x, y) in surface units: the inverse of where a
// point is drawn. Nothing outside the plot rectangle or before the scales
// of a full drawing are set.
std::optional<ChartCursor> CursorAt(const ChartGeometry& g, float yMin, double x, double y);

// "Time: 12.35 s   Power: 12.51mW": the time in the axis's unit (s, min,
// h), the value as the value axis labels it (prefixed power units, or the
// number times the axis decade with its title).
QString CursorText(const ChartSettings& settings, const ChartCursor& cursor);
// The text at (x, y) of the chart last drawn on screen, "" off the plot.
QString CursorTextAt(const ChartSettings& settings, double x, double y);

// The range that keeps the data [low, high] on the chart while a run goes:
// 10 % room either side (5 % of the value for a flat trace), widened to
// whole steps of 1, 2 or 5 times a power of ten per division, and not below
// 0 for data that is not. Nothing for data all 0 or not finite.
struct ChartRange {
    float Min = 0, Max = 1;
};
std::optional<ChartRange> AutoScaleRange(double low, double high, int divisions);
