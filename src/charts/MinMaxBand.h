#pragma once

#include <cstdint>

struct ChartGeometry;
namespace platform {
class Surface;
}

// The spread of a drawn point that stands for several readings (a merged
// point of a live run, a group of a long record): their least and greatest
// value in the base unit. Drawn as a band behind the average line, so that
// one reading far off the average still shows. A point of one reading has
// no band.
struct ChartBand {
    double Low = 0, High = 0;
    bool Shows() const { return Low < High; }
};

// The band's colour: the other half of the trace colour's pair in the
// palette (yellow and brown, light and dark blue, white and light grey ...),
// a dimmer tint on a dark screen and a lighter one on paper; dark grey or
// light grey when that would be the background.
int16_t BandColorFor(int traceColor, int backColor);

// Draws the band of the point at `time` (under g's scales, values limited
// to the frame like the points): a column from the previous point's x
// (g.PointX, when `joined`) to the point's, at least half a chart unit wide.
// Where many points share a pixel, the last column (g.Band) grows by their
// bands instead.
void DrawBand(platform::Surface& surface, ChartGeometry& g, const ChartBand& band, double time, float yMin,
              bool joined);
