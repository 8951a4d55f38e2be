#pragma once

#include "analysis/Stability.h"

#include <QString>
#include <vector>

namespace platform {
class Surface;
}

// The Allan deviation against the averaging time on log-log axes, drawn in
// a rectangle of the surface's user units.

// The decades a log axis spans: 10^First .. 10^Last around lo..hi (> 0),
// at least one decade.
struct LogAxis {
    int First = 0;
    int Last = 1;
};
LogAxis LogAxisFor(double lo, double hi);

struct AllanChartColors {
    int Back = 1, Axis = 7, Trace = 14, Grid = 8;
};

// Points whose deviation is 0 have no place on a log axis and are left out
// (the table shows them). `fontPoints` sizes the labels.
void DrawAllanChart(platform::Surface& surface, double left, double top, double width, double height,
                    const std::vector<analysis::AllanPoint>& points, const QString& unit,
                    const AllanChartColors& colors, double fontPoints);
