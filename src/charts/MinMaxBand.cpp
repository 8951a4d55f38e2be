#include "charts/MinMaxBand.h"

#include "charts/ChartGeometry.h"
#include "platform/Surface.h"

#include <algorithm>

namespace {

// Chart units: two logical pixels on screen, half a millimetre on paper.
constexpr double kLeastBandWidth = 0.5;

}  // namespace

int16_t BandColorFor(int traceColor, int backColor) {
    const int trace = traceColor & 15, back = backColor & 15;
    for (const int c : {trace ^ 8, 8, 7})
        if (c != trace && c != back) return int16_t(c);
    return int16_t(trace);
}

void DrawBand(platform::Surface& surface, ChartGeometry& g, const ChartBand& band, double time, float yMin,
              bool joined) {
    if (!joined) g.HasBand = false;
    if (!band.Shows()) return;
    const QPointF low = PointPosition(g, time, band.Low, yMin),
                  high = PointPosition(g, time, band.High, yMin);
    // Both ends beyond the same edge of the frame: nothing to show there.
    if (low.y() == high.y()) return;
    const double x = low.x();
    BandColumn& c = g.Band;
    // Many points to a pixel (a live run of 6000): the column drawn for the
    // first of them grows by what the others add beyond it.
    if (g.HasBand && x - g.PointX < kLeastBandWidth / 8 && x - c.X < kLeastBandWidth / 2) {
        c.Right = std::max(x, c.Right);
        if (high.y() < c.Top) surface.FillBox(c.Left, high.y(), c.Right, c.Top, g.BandColor);
        if (low.y() > c.Bottom) surface.FillBox(c.Left, c.Bottom, c.Right, low.y(), g.BandColor);
        c.Top = std::min(c.Top, high.y());
        c.Bottom = std::max(c.Bottom, low.y());
        return;
    }
    // A column narrower than a screen pixel or two still shows.
    const double from = std::max(g.PlotLeft, std::min(joined ? g.PointX : x, x - kLeastBandWidth));
    const double to = std::max(x, from + kLeastBandWidth);
    surface.FillBox(from, high.y(), to, low.y(), g.BandColor);
    g.HasBand = true;
    c = BandColumn{x, from, to, high.y(), low.y()};
}
