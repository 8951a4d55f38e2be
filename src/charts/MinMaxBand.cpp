#include "charts/MinMaxBand.h"

#include <algorithm>
#include "charts/ChartGeometry.h"
#include "platform/Surface.h"

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
    // Many points to a pixel (a live run of 6000): a column inside the last
    // one drawn and less than half a column further on adds nothing.
    const double x = low.x();
    if (g.HasBand && x - g.BandRight < kLeastBandWidth / 2 && high.y() >= g.BandTop &&
        low.y() <= g.BandBottom)
        return;
    // A column narrower than a screen pixel or two still shows.
    const double from = std::max(g.PlotLeft, std::min(joined ? g.PointX : x, x - kLeastBandWidth));
    const double to = std::max(x, from + kLeastBandWidth);
    surface.FillBox(from, high.y(), to, low.y(), g.BandColor);
    g.HasBand = true;
    g.BandRight = to;
    g.BandTop = high.y();
    g.BandBottom = low.y();
}
